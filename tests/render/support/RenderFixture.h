#pragma once
// A fixture for painting tests: an application on a virtual clock, a painter,
// and a root view of 100 x 100 points to build on.

#include <gtest/gtest.h>

#include <memory>

#include "render/Painter.h"
#include "render/support/Pixels.h"
#include "ui/Application.h"
#include "ui/Clock.h"
#include "ui/View.h"

namespace rendertest {

class RenderFixture : public ::testing::Test {
protected:
    render::SurfacePtr draw(int scale = 1) { return painter.render(*root, scale); }

    std::shared_ptr<ui::VirtualClock> clock = std::make_shared<ui::VirtualClock>();
    ui::Application app{clock};
    render::Painter painter;
    std::shared_ptr<ui::View> root = ui::View::make({0, 0, 100, 100});
};

}  // namespace rendertest
