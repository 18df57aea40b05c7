// Configuration: the settings that command-line options and configuration files may change, with
// their built-in defaults. Only the settings the engines already read are here so far.
#ifndef KORVEL_CONFIG_H
#define KORVEL_CONFIG_H

// --- regular engine weights (config.cpp) ---
extern int regularvalue[13];       // regular material by piece code: 100 305 295 520 930 400, Black's negated
extern int crazyvalue[13];         // crazyhouse material (board and hand): 150 305 295 520 930 400 for both colours
extern int crazycheckply;          // first ply at which the regular search extends checks in crazyhouse (2)

// --- output switches (config.cpp) ---
extern int mainline;               // 1: the principal variation also goes to the ICS as "tellics mainline" (0)
extern int whisperline;            // 1: the principal variation is appended to the whisper line (0)

void resetconfig();                // every setting back to its built-in default

#endif
