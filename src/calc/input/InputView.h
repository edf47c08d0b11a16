#pragma once
// The input panel of the calculator screen: a scroll view, 215 x 220 points,
// that shows one of two keypads at a time.
//
// - The decimal keypad (decInputView): the digit keys 0-9 and the point key,
//   which drive the main display themselves. Scrolling is off.
// - The base keypad (baseInputView, 215 x 495): the digits 0-9 and the
//   letters A-N, with which a value is typed in the selected base, and beside
//   the "0" key the base picker. Only the keys that are digits of the selected
//   base are enabled. The panel scrolls: it opens on the digits and the
//   picker, the letters lie above.
//
// The keypads swap with a vertical push. The picker is a subview of the panel
// itself, under the base keypad, which is transparent over it: touches that no
// key takes reach the panel, which passes them to the picker when they fall
// on it and, when a touch ends, applies the base the picker settled on.
//
// The selected base and which keypad shows live on the application delegate;
// the panel keeps no copy of either.

#include <memory>
#include <string>
#include <vector>

#include "ui/ScrollView.h"

class binaryScrn;
class displayScrn;
class HorizontalPickerView;
namespace ui {
class Button;
class Control;
}  // namespace ui

class InputView : public ui::ScrollView {
public:
    // The key under which the keypad swap is kept on the panel's layer.
    static constexpr const char* kTransitionKey = "transitionViewAnimation";
    static constexpr double kTransitionDuration = 0.5;
    // Height of the base keypad's content, and of the part the panel shows.
    static constexpr float kBaseKeypadHeight = 495;
    static constexpr float kVisibleHeight = 220;

    explicit InputView(ui::Rect frame);
    // The panel with both keypads and the picker, showing the decimal keypad.
    static std::shared_ptr<InputView> initInputView(ui::Rect frame, std::shared_ptr<displayScrn> display,
                                                    std::shared_ptr<binaryScrn> conversion);

    // Displays and parts
    const std::shared_ptr<displayScrn>& displayLabel() const { return displayLabel_; }
    void setDisplayLabel(std::shared_ptr<displayScrn> display);
    const std::shared_ptr<binaryScrn>& binaryScreen() const { return binaryScreen_; }
    void setBinaryScreen(std::shared_ptr<binaryScrn> screen);
    const std::shared_ptr<HorizontalPickerView>& basePicker() const { return basePicker_; }
    void setBasePicker(std::shared_ptr<HorizontalPickerView> picker);
    const std::shared_ptr<ui::View>& decInputView() const { return decInputView_; }
    const std::shared_ptr<ui::View>& baseInputView() const { return baseInputView_; }
    // The keys of each keypad in the order they were built, each titled by
    // what it types: 1 ... 9, 0 and "."; the letters row by row from "M" "N"
    // down to "A" "B" "C", then 1 ... 9 and 0.
    const std::vector<std::shared_ptr<ui::Button>>& decimalKeys() const { return decimalKeys_; }
    const std::vector<std::shared_ptr<ui::Button>>& baseKeys() const { return baseKeys_; }
    // The picker's items "2" ... "24".
    const std::shared_ptr<const std::vector<std::string>>& pickerArray() const { return pickerArray_; }

    // Keypads
    // Swaps the decimal and the base keypad.
    void switchInputs();
    // Shows the delegate's base on the picker, then enables exactly the base
    // keys whose digit value is below BASE.
    void checkEnabledButtons(int base);
    // Re-reads the keys' title colours from the application's look.
    void applyLook();
    // Shows the delegate's base on the picker.
    void updateInputBase();
    // Makes the base the picker shows the delegate's, as the end of a touch
    // on the panel does: the conversion display and the keys follow.
    void applyPickedBase();
    // Puts BASE in the picker's focus and applies it as the end of a drag
    // does; a base outside 2 ... 24 changes nothing.
    void pickBase(int base);
    // Action of the base keys: appends the key's digit to the main display's
    // value written in the selected base.
    void touchDown(ui::Control* sender);
    // Swaps OLD_VIEW for NEW_VIEW on the panel with a transition of TYPE from
    // SUBTYPE lasting DURATION seconds.
    void replaceSubview(const std::shared_ptr<ui::View>& oldView, const std::shared_ptr<ui::View>& newView,
                        const std::string& type, const std::string& subtype, double duration);

    // Touches: the scroll view's own handling first, then the picker's.
    void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;
    // A key's touch is never taken over for scrolling.
    bool touchesShouldCancelInContentView(ui::View* view) override;

private:
    void colourBaseKeys();
    void initialiseDecInputView();
    void initialiseBaseInputView();
    // Whether P (panel coordinates) lies on the picker, edges included.
    bool isOnPicker(ui::Point p) const;
    // The shown register of the main display goes to the conversion display.
    void redrawConversion();

    std::shared_ptr<displayScrn> displayLabel_;
    std::shared_ptr<ui::View> decInputView_;
    std::shared_ptr<ui::View> baseInputView_;
    std::vector<std::shared_ptr<ui::Button>> decimalKeys_;
    std::vector<std::shared_ptr<ui::Button>> baseKeys_;
    // Whether checkEnabledButtons has run: the base keys' titles are then
    // coloured by whether the base has their digit.
    bool baseKeysNarrowed_ = false;
    std::shared_ptr<HorizontalPickerView> basePicker_;
    std::shared_ptr<const std::vector<std::string>> pickerArray_;
    std::shared_ptr<binaryScrn> binaryScreen_;
};
