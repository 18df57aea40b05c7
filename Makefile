# Top-level commands: `make run` builds and starts the engine, `make test` builds and runs every test.
BUILD      := build
ASAN_BUILD := build-asan
JOBS       ?= 2

# The engine looks for a book or configuration file that its start folder lacks in its installed
# data folder; the tests and matches run here must never see an installed copy's files.
export KORVEL_DATADIR =

.PHONY: all setup build asan pgo run test unit unit-asan match-check match-short match-full xboard-run match match-variants \
  xboard-measure match-full-measure perft bench clean install uninstall deb \
  fuzz-build fuzz fuzz-short soak

all: build

setup:
	@scripts/setup.sh

build: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

asan: setup
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKORVEL_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)

# Starts the engine in a folder that holds its books and example files.
run: build
	@mkdir -p $(BUILD)/run
	@cp -r books/. $(BUILD)/run/ 2>/dev/null || true
	@cp examples/* $(BUILD)/run/
	@cd $(BUILD)/run && ../korvel

unit: build
	@cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

unit-asan: asan
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1 ctest -j $(JOBS) --output-on-failure

test: unit unit-asan match-check match-short match-full xboard-run fuzz-short

# One short game in each of the ten variants under the real interface (xboard on a virtual display),
# against sjeng where it plays the variant and else korvel against korvel, two variants at once:
# every feature accepted, no refused move or position, no illegal move, false claim, double result
# or loss on time. Skipped (status 77) without xboard.
xboard-run: build
	@python3 tools/xboardrun.py --korvel $(BUILD)/korvel --games 1 --tc 0:10 --inc 0.1 --jobs 2; \
	  status=$$?; [ $$status -eq 0 ] || [ $$status -eq 77 ]

# The match runner sees a double result line, a move after the game's end and a wrong claim.
match-check:
	@python3 tools/rules/runnercheck.py

# Short refereed games against the peers at full strength, which win, so that korvel's side of
# every way to lose is played: fairy-stockfish in its seven variants, sjeng in its four, stockfish.js
# in atomic, and korvel against itself in wildcastle and twokings; one game a variant, the colours
# alternating from variant to variant (two in atomic), two runs at once.
FULL_A := --games 1 --tc 4+0.1 --skill 20 --variants normal,nocastle,3check,crazyhouse,giveaway,suicide,losers
FULL_B := --games 1 --tc 4+0.1 --peer sjeng --variants normal,crazyhouse,suicide,losers
FULL_C := --games 2 --tc 4+0.1 --skill 20 --korvel-args fics --variants atomic
FULL_D := --games 1 --tc 4+0.1 --peer korvel --variants wildcastle,twokings
match-full: build
	@m="python3 tools/match.py --korvel $(BUILD)/korvel"; \
	( s=0; $$m $(FULL_A) || s=1; exit $$s ) > $(BUILD)/match-full-a.txt 2>&1 & a=$$!; \
	( s=0; $$m $(FULL_B) || s=1; $$m $(FULL_C) || s=1; $$m $(FULL_D) || s=1; exit $$s ) > $(BUILD)/match-full-b.txt 2>&1 & b=$$!; \
	status=0; wait $$a || status=1; wait $$b || status=1; cat $(BUILD)/match-full-a.txt $(BUILD)/match-full-b.txt; exit $$status

# The measurements of the same: four xboard games in each variant, and ten refereed games in each
# variant against the full-strength peers (korvel against itself in wildcastle and twokings), with
# the debug files, PGNs and logs of everything said to and by each korvel kept in the build folder
# for the reproducers.
MEASURE := $(BUILD)/measure
xboard-measure: build
	@python3 tools/xboardrun.py --korvel $(BUILD)/korvel --games 4 --tc 0:10 --inc 0.1 --jobs 2 --keep $(MEASURE)/xboard
match-full-measure: build
	@mkdir -p $(MEASURE); m="python3 tools/match.py --korvel $(BUILD)/korvel --games 10 --tc 4+0.1"; \
	( s=0; $$m --skill 20 --variants normal,nocastle,3check,crazyhouse,giveaway,suicide,losers \
	    --log $(MEASURE)/fsf.log || s=1; exit $$s ) > $(MEASURE)/fsf.txt 2>&1 & a=$$!; \
	( s=0; $$m --peer sjeng --variants normal,crazyhouse,suicide,losers --log $(MEASURE)/sjeng.log || s=1; \
	  $$m --skill 20 --korvel-args fics --variants atomic --log $(MEASURE)/atomic.log || s=1; \
	  $$m --peer korvel --variants wildcastle,twokings --log $(MEASURE)/korvel.log \
	    --peer-log $(MEASURE)/korvel-peer.log || s=1; exit $$s ) > $(MEASURE)/others.txt 2>&1 & b=$$!; \
	status=0; wait $$a || status=1; wait $$b || status=1; cat $(MEASURE)/fsf.txt $(MEASURE)/others.txt; exit $$status

# Short refereed matches, five seconds a game: two games in each of seven variants against
# fairy-stockfish, and two atomic games against stockfish.js, refereed by chessops.
match-short: build
	@python3 tools/match.py --korvel $(BUILD)/korvel --games 2 --tc 5+0 --variants normal,nocastle,3check,crazyhouse
	@python3 tools/match.py --korvel $(BUILD)/korvel --games 2 --tc 5+0 --variants giveaway,suicide,losers
	@python3 tools/match.py --korvel $(BUILD)/korvel --korvel-args fics --games 2 --tc 5+0 --variants atomic

# Longer refereed matches against fairy-stockfish (Skill Level 0) and sjeng, with the score.
match: build
	@python3 tools/match.py --korvel $(BUILD)/korvel --games 10 --tc 60+1 --variants normal,nocastle,wildcastle,3check,crazyhouse
	@python3 tools/match.py --korvel $(BUILD)/korvel --peer sjeng --games 10 --tc 60+1 --variants normal,crazyhouse

# Refereed matches in the variants with engines of their own, and from set-up positions with either
# side to move: atomic (chessops referee, stockfish.js opponent, korvel with fics), giveaway, suicide
# and losers (fairy-stockfish referee; fairy-stockfish and sjeng as opponents). Every run is played;
# the target fails when korvel committed a fault in any of them.
match-variants: build
	@status=0; \
	python3 tools/match.py --korvel $(BUILD)/korvel --korvel-args fics --games 4 --tc 10+0 --variants atomic || status=1; \
	python3 tools/match.py --korvel $(BUILD)/korvel --games 4 --tc 10+0 --variants giveaway,suicide,losers || status=1; \
	python3 tools/match.py --korvel $(BUILD)/korvel --peer sjeng --games 4 --tc 10+0 --variants suicide,losers || status=1; \
	python3 tools/match.py --korvel $(BUILD)/korvel --korvel-args fics --fens tools/match-fens.txt --games 4 \
	  --level "0 0:10 0" --variants normal,3check,crazyhouse,atomic,giveaway,suicide,losers || status=1; \
	exit $$status

# Deep perft runs against published numbers and against fairy-stockfish, with nodes per second.
perft: build
	@python3 tools/perftsuite.py --deep

# Fuzz targets, one per reader of outside input (protocol, FEN, command line, configuration files,
# books), built with clang's libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz. `make fuzz` runs each for FUZZ_SECONDS (at least ten minutes in all), growing a
# corpus in build-fuzz/corpus from the seeds in fuzz/corpus and keeping what fails in
# build-fuzz/crashes, going on after a failure; `make fuzz-short` (part of make test) runs the
# seeds and a few seconds each, and stops at the first failure.
FUZZ_BUILD   := build-fuzz
FUZZ_TARGETS := protocol fen options config books
FUZZ_SECONDS ?= 125
FUZZ_SHORT   ?= 3
fuzz-build:
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Fuzz -DCMAKE_CXX_COMPILER=clang++ -DKORVEL_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz-,$(FUZZ_TARGETS))

fuzz: fuzz-build
	@nice -n 10 scripts/fuzz.sh $(FUZZ_SECONDS) corpus keepgoing

fuzz-short: fuzz-build
	@rm -rf $(FUZZ_BUILD)/corpus-short
	@scripts/fuzz.sh $(FUZZ_SHORT) corpus-short

# The long run: 200 games in one korvel process across all ten variants at 5+0, the resident
# memory after every game; fails on any fault or when memory grows by more than 5 %. Not part of
# make test (it takes about twenty minutes).
soak: build
	@nice -n 10 python3 tools/soak.py --korvel $(BUILD)/korvel --games 200 --tc 5+0

bench: build
	@$(BUILD)/korvel-bench

# A profile-guided build in build-pgo: built with profiling, trained on the bench, then built again
# from the profile it wrote. Its binaries compute exactly what the default build's do.
PGO_BUILD    ?= build-pgo
PGO_OPTIMIZE ?= -O2
PGO_DIR      := $(abspath $(PGO_BUILD))/profile
pgo: setup
	@rm -rf $(PGO_DIR)
	@cmake -S . -B $(PGO_BUILD) -DCMAKE_BUILD_TYPE=Release \
	  -DKORVEL_OPTIMIZE="$(PGO_OPTIMIZE) -fprofile-generate -fprofile-dir=$(PGO_DIR)" >/dev/null
	@cmake --build $(PGO_BUILD) -j $(JOBS) --clean-first --target korvel-bench
	@$(PGO_BUILD)/korvel-bench >/dev/null
	@cmake -S . -B $(PGO_BUILD) -DCMAKE_BUILD_TYPE=Release \
	  -DKORVEL_OPTIMIZE="$(PGO_OPTIMIZE) -fprofile-use -fprofile-correction -Wno-missing-profile -fprofile-dir=$(PGO_DIR)" >/dev/null
	@cmake --build $(PGO_BUILD) -j $(JOBS) --clean-first
	@$(PGO_BUILD)/korvel-bench | tail -2

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(PGO_BUILD)

# Installs the engine, the tools, the books, the example files, the manual page and xboard's engine
# list below PREFIX (staged below DESTDIR when given). The engine then finds its books in
# PREFIX/share/games/korvel from any folder. What was installed is listed in $(BUILD)/installed.txt,
# with DESTDIR in front, which `make uninstall` removes again.
PREFIX ?= /usr/local
install: build
	@cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target korvel korvel-perft korvel-bench korvel-tool korvel-bookcheck
	@DESTDIR=$(DESTDIR) cmake --install $(BUILD)
	@sed 's|^|$(DESTDIR)|' $(BUILD)/install_manifest.txt > $(BUILD)/installed.txt

uninstall:
	@test -f $(BUILD)/installed.txt || { echo "nothing installed from $(BUILD)"; exit 1; }
	@xargs -d '\n' rm -fv < $(BUILD)/installed.txt
	@sed -n 's|/[^/]*$$||p' $(BUILD)/installed.txt | grep '/korvel\(/\|$$\)' | sort -ru | \
	  xargs -d '\n' rmdir --ignore-fail-on-non-empty 2>/dev/null || true
	@rm -f $(BUILD)/installed.txt

# The Debian package, built from the tree with dpkg-buildpackage (needs debhelper, dpkg-dev and
# fakeroot). The package and its .buildinfo and .changes land in $(BUILD)/deb. Not part of `make test`.
deb:
	@dpkg-buildpackage -us -uc -b
	@mkdir -p $(BUILD)/deb
	@mv ../korvel_*.deb ../korvel-dbgsym_*.deb ../korvel_*.buildinfo ../korvel_*.changes $(BUILD)/deb/
	@ls -l $(BUILD)/deb
