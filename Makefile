# Top-level commands: `make run` builds and starts the engine, `make test` builds and runs every test.
BUILD      := build
ASAN_BUILD := build-asan
JOBS       ?= 2

.PHONY: all setup build asan pgo run test unit unit-asan match-short xboard-run match match-variants perft bench clean \
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

test: unit unit-asan match-short xboard-run fuzz-short

# One short game under the real interface (xboard on a virtual display) against sjeng: every
# feature accepted, no illegal move, no loss on time. Skipped (status 77) without xboard.
xboard-run: build
	@python3 tools/xboardrun.py --korvel $(BUILD)/korvel --games 1 --tc 0:10; status=$$?; [ $$status -eq 0 ] || [ $$status -eq 77 ]

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
