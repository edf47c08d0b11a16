#pragma once
// A view that shows one picture stretched to its bounds (or nothing when it
// has none).

#include "ui/Image.h"
#include "ui/View.h"

namespace ui {

class ImageView : public View {
public:
    explicit ImageView(Rect frame = {});
    static std::shared_ptr<ImageView> make(Rect frame, std::shared_ptr<const Image> image = nullptr);
    void accept(ViewVisitor& visitor) override { visitor.visit(*this); }
    void accept(ConstViewVisitor& visitor) const override { visitor.visit(*this); }

    const std::shared_ptr<const Image>& image() const { return image_; }
    void setImage(std::shared_ptr<const Image> image);
    // The picture's name, or "" when it has none.
    std::string imageName() const { return image_ ? image_->name() : std::string(); }

private:
    std::shared_ptr<const Image> image_;
};

}  // namespace ui
