// Configuration: the settings that command-line options and configuration files may change, with
// their built-in defaults. Only the settings the engines already read are here so far.
#ifndef KORVEL_CONFIG_H
#define KORVEL_CONFIG_H

// --- regular engine weights (config.cpp) ---
extern int regularvalue[13];       // material of the regular evaluation by piece code, Black's negative
extern int crazyvalue[13];         // material of the crazyhouse evaluation (board and hand), both colours positive
extern int crazycheckply;          // first ply at which the regular search extends checks in crazyhouse (2)

// --- output switches (config.cpp) ---
extern int mainline;               // 1: the principal variation is also sent to the ICS as "tellics mainline"
extern int whisperline;            // 1: the principal variation is appended to the whisper line

void resetconfig();                // every setting back to its built-in default

#endif
