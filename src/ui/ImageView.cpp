#include "ui/ImageView.h"

namespace ui {

// Pictures show; they do not take touches.
ImageView::ImageView(Rect frame) : View(frame) { setUserInteractionEnabled(false); }

std::shared_ptr<ImageView> ImageView::make(Rect frame, std::shared_ptr<const Image> image) {
    auto view = std::make_shared<ImageView>(frame);
    view->setImage(std::move(image));
    return view;
}

void ImageView::setImage(std::shared_ptr<const Image> image) {
    if (image_ == image) return;
    image_ = std::move(image);
    setNeedsDisplay();
}

}  // namespace ui
