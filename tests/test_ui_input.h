// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class InputFieldsTest : public QObject
{
    Q_OBJECT

private slots:
    void filters_data();
    void filters();
    void inputMethodText_goesThroughTheFilter();
    void menuBar_keepsFieldStateAndRunsEntryByLetter();
    void maxLength_refusesOverlongText();
    void enterChain_leadsToEvaluationAndCalibration();
    void f1_opensHelp_data();
    void f1_opensHelp();
    void f12_showsDataFolderThenRecomputes();
    void liveRecomputation_followsTheAltitude();
    void editMenu_runsKeyHandlersOnlyForKeys_data();
    void editMenu_runsKeyHandlersOnlyForKeys();
    void keysInOtherFields_clearOrKeep();
    void keyRelease_countsForTheFieldItWasPressedIn_data();
    void keyRelease_countsForTheFieldItWasPressedIn();
    void focus_alignsAndPlacesCaret();
    void displayClick_focusesBarometerField();
    void hover_showsSeaLevelValue();
    void hover_neverRendersMarkupFromData();
};
