#pragma once

#include "console/StepCatalogue.h"
#include "console/StepFrame.h"

namespace belmo::app {
class Session;
}
namespace belmo::widgets {
class Activity;
class Panel;
}

namespace belmo::console {

// What a step needs of the window it sits in (the console).
class StepHost {
public:
    virtual ~StepHost() = default;
    virtual app::Session& session() = 0;
    // The window's long work: busy while a step's transfer runs.
    virtual widgets::Activity& activity() = 0;
    virtual void showPanel(widgets::Panel& panel) = 0;  // to the front of the z-order
    virtual void hidePanel(widgets::Panel& panel) = 0;  // to the back, uncovering the menu
    virtual void showMenu() = 0;                        // the menu panel to the front
    // Called by a step once its transfer has finished, after its completion message: the
    // done mark appears and, in wizard mode, the next step's menu action follows.
    virtual void stepFinished(StepId id) = 0;
};

// A transfer step of the console: what its menu button does, and its panel when it has one.
class Step {
public:
    Step(StepHost& host, StepId id) : host_(host), id_(id) {}
    virtual ~Step() = default;
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;

    StepId id() const { return id_; }
    virtual widgets::Panel* panel() { return nullptr; }  // none for the steps that run at once
    // The menu button: runs the step at once, or loads its grid and shows its panel.
    virtual void menuAction() = 0;

protected:
    app::Session& session() { return host_.session(); }
    StepHost& host() { return host_; }
    // The step's transfer in the frame every step shares (StepFrame.h); true when finished.
    bool transfer(const TransferPlan& plan, const std::function<void(Transfer&)>& body)
    {
        return runTransfer(host_, id_, plan, body);
    }

private:
    StepHost& host_;
    StepId id_;
};

}  // namespace belmo::console
