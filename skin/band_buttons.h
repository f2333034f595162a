#pragma once

class CSkinButton;
class CSkinDlg_Base;

// The buttons of a dialog's 55-px bottom band, each sized to its caption: the secondary look (CANCEL,
// BACK) and the main one (START, SAVE), which carries an arrow at its right end.

inline constexpr int kBandHeight = 55;

void StyleSecondaryBandButton(CSkinButton& button, const CSkinDlg_Base& dialog);
void StyleMainBandButton(CSkinButton& button, const CSkinDlg_Base& dialog);

// Places button at x, centred vertically in the band of a dialog dialogHeight high.
void PlaceInBand(CSkinButton& button, int x, int dialogHeight);
