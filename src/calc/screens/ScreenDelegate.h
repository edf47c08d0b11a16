#pragma once
// What the two screens ask of the application beyond the displays' needs:
// storing the signed mode, refreshing the base keypad, and flipping between
// the screens. The application delegate implements it; without one (a screen
// built on its own) the requests are skipped.

#include "calc/core/CalcDelegate.h"

class ScreenDelegate : public CalcDelegate {
public:
    virtual void setUseSigned(bool useSigned) = 0;
    // The base keypad and its picker follow the base now in effect.
    virtual void updateInputBase() = 0;
    virtual void flipToSettings() = 0;
    virtual void flipToCalcFromSetting() = 0;
};

// The shared delegate as a ScreenDelegate, or nullptr (see calcDelegate()).
inline ScreenDelegate* screenDelegate() { return dynamic_cast<ScreenDelegate*>(calcDelegate()); }
