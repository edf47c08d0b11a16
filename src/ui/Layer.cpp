#include "ui/Layer.h"

#include <algorithm>

#include "ui/Application.h"
#include "ui/DirtyRegion.h"
#include "ui/Timing.h"
#include "ui/View.h"

namespace ui {

std::vector<SubviewSnapshot> takeSubviewSnapshot(const View* view, const std::vector<std::shared_ptr<View>>& current);

namespace {
std::vector<Layer*>& activeLayers() {
    static auto* layers = new std::vector<Layer*>;
    return *layers;
}
}  // namespace

double Transition::progress(double now) const {
    if (duration <= 0) return 1;
    return easeInEaseOut((now - startTime) / duration);
}

Layer::~Layer() { std::erase(activeLayers(), this); }

void Layer::addAnimation(Transition transition, const std::string& key) {
    transition.startTime = Application::current() ? Application::current()->now() : 0;
    transition.before = takeSubviewSnapshot(&owner_, owner_.subviews());
    animations_[key] = std::move(transition);
    auto& layers = activeLayers();
    if (std::find(layers.begin(), layers.end(), this) == layers.end()) layers.push_back(this);
    DirtyRegion::addWholeWindow();  // a transition moves the whole content
    owner_.setNeedsDisplay();
}

void Layer::removeAnimation(const std::string& key) {
    animations_.erase(key);
    owner_.setNeedsDisplay();
}

const Transition* Layer::animationForKey(const std::string& key) const {
    auto it = animations_.find(key);
    if (it == animations_.end()) return nullptr;
    double now = Application::current() ? Application::current()->now() : 0;
    return it->second.isFinished(now) ? nullptr : &it->second;
}

void Layer::removeFinished(double now) {
    size_t before = animations_.size();
    std::erase_if(animations_, [now](const auto& entry) { return entry.second.isFinished(now); });
    if (animations_.size() != before) owner_.setNeedsDisplay();
}

void Layer::finishDueTransitions(double now) {
    auto layers = activeLayers();  // copy: removing old content may destroy layers
    for (Layer* layer : layers) {
        if (std::find(activeLayers().begin(), activeLayers().end(), layer) == activeLayers().end()) continue;
        layer->removeFinished(now);
        if (layer->animations_.empty()) std::erase(activeLayers(), layer);
    }
}

bool Layer::anyRunning(double now) {
    for (Layer* layer : activeLayers())
        for (auto& [key, t] : layer->animations_)
            if (!t.isFinished(now)) return true;
    return false;
}

}  // namespace ui
