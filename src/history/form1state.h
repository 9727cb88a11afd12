// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/record.h"
#include "history/taggedvalue.h"

namespace barovista {

// The state of the main window: its 28 members, in their declared order.
// Form1 inherits them, so every handler reads and writes them directly; the
// state alone can be built and checked without a window.
struct Form1State
{
    TaggedValue datestart;            // day the history began
    TaggedValue hoehe;                // altitude text at the last recording
    float saveok = 0;                 // 1 once an evaluation completed in this run
    TaggedValue luftdruck;            // barometer text at the last recording
    TaggedValue tendenz;              // deviation from 1013.25 hPa, rounded
    TaggedValue mitte;                // mean-pressure display at the last recording
    TaggedValue meer;                 // sea-level display at the last recording
    TaggedValue infotext;             // evaluation message at the last recording
    TaggedValue kali;                 // weather-service text at the last recording
    TaggedValue pfad;                 // data folder
    TaggedValue normaldruck_meer;     // mean pressure for the altitude, rounded
    TaggedValue tendenzlatte;         // indicator offset above its home line, twips
    TaggedValue maxmeer;              // highest recorded sea-level pressure
    TaggedValue minmeer;              // lowest recorded sea-level pressure
    TaggedValue datemaxmeer;          // day of maxmeer
    TaggedValue dateminmeer;          // day of minmeer
    TaggedValue timemaxmeer;          // time of day of maxmeer
    TaggedValue timeminmeer;          // time of day of minmeer
    TaggedValue lastmess;             // sea-level display of the last recording
    TaggedValue datelastmess;         // day of the last recording
    TaggedValue timelastmess;         // time of day of the last recording
    TaggedValue xxpfad;               // history file path, formed by the reset
    TaggedValue eingabe_hoehe;        // altitude as a number
    TaggedValue eingabe_wetterdienst; // weather-service value as a number
    TaggedValue absolut_lastmess;     // barometer reading of the last recording
    TaggedValue absolut_maxmeer;      // barometer reading belonging to maxmeer
    TaggedValue absolut_minmeer;      // barometer reading belonging to minmeer
    float druckabweichung = 0;        // barometer deviation of the last calibration

    // The twenty members that form the history file's record.
    Record toRecord() const;
    void setFromRecord(const Record &record);
};

} // namespace barovista
