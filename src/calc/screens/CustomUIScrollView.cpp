#include "calc/screens/CustomUIScrollView.h"

CustomUIScrollView::CustomUIScrollView(ui::Rect frame) : ui::ScrollView(frame) {}

bool CustomUIScrollView::touchesShouldCancelInContentView(ui::View*) { return false; }
