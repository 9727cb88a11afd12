// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Tests of the help window Form2, its help text, and the info window Form3.
class WindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void qtEditMenuIsGerman();
    void resourcePictures_data();
    void resourcePictures();

    void helpTextLineBreaksAreCrLf();
    void helpTextLinesBeginWithOneBlank();
    void helpTextHasFiveSectionsInOrder();
    void helpTextSpacingBetweenBlocks();
    void helpTextCarriesFormulaAndProductPage();

    void windowFrames_data();
    void windowFrames();
    void controlGeometry_data();
    void controlGeometry();
    void windowBackgroundIsWindowColour_data();
    void windowBackgroundIsWindowColour();
    void windowsOpenCentredOverOwner_data();
    void windowsOpenCentredOverOwner();
    void centredFromTheFrame_data();
    void centredFromTheFrame();

    void helpShowsWholeTextLockedAndScrollable();
    void helpTextViewHasArrowPointer();
    void helpOpensWithFocusInHiddenText2ThenTabIntoText();
    void helpStartsAfreshOnEveryShowing();

    void infoLabels_data();
    void infoLabels();
    void infoAddressIsProductUrlInCapitals();
    void infoClickOpens_data();
    void infoClickOpens();
    void infoLinkCursorPointsWithFingertip();
    void infoEmblemIsRedGaugeOnDark();
};
