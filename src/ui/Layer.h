#pragma once
// A view's layer: the transitions that animate a change of its subviews.
//
// A transition added to a layer shows the change of the view's subview list
// made just before (in the same pass of the loop): the model change is
// immediate, and the transition keeps the old subviews so that a renderer can
// draw the old content leaving while the new content comes in. A transition
// added under a key that is already running replaces the running one.

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class View;

// Transition types and the side the new content comes in from.
inline const std::string kTransitionPush = "push";
inline const std::string kTransitionFromTop = "fromTop";
inline const std::string kTransitionFromBottom = "fromBottom";
inline const std::string kTransitionFromLeft = "fromLeft";
inline const std::string kTransitionFromRight = "fromRight";
inline const std::string kTimingEaseInEaseOut = "easeInEaseOut";

// A subview as it stood before the change.
struct SubviewSnapshot {
    std::shared_ptr<View> view;
    bool hidden = false;
};

struct Transition {
    std::string type = kTransitionPush;
    std::string subtype = kTransitionFromRight;
    double duration = 0.25;
    std::string timingFunction = kTimingEaseInEaseOut;
    const void* delegate = nullptr;  // recorded only; nothing is called back

    // Filled in when the transition is added to a layer.
    double startTime = 0;
    std::vector<SubviewSnapshot> before;

    // Eased progress from 0 (all old content) to 1 (all new content).
    double progress(double now) const;
    bool isFinished(double now) const { return now >= startTime + duration; }
};

class Layer {
public:
    explicit Layer(View& owner) : owner_(owner) {}

    // Adds TRANSITION under KEY, replacing one already there.
    void addAnimation(Transition transition, const std::string& key);
    void removeAnimation(const std::string& key);
    // The transition under KEY, while it runs (nullptr once finished or absent).
    const Transition* animationForKey(const std::string& key) const;
    // Every running transition, by key.
    const std::map<std::string, Transition>& animations() const { return animations_; }
    // Drops the finished transitions (and the old content they kept).
    void removeFinished(double now);
    // Drops finished transitions on every layer. Run on every pass of the loop.
    static void finishDueTransitions(double now);
    // Whether any layer has a transition still running.
    static bool anyRunning(double now);

    ~Layer();

private:
    View& owner_;
    std::map<std::string, Transition> animations_;
};

}  // namespace ui
