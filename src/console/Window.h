#pragma once

#include <functional>

namespace belmo::console {

// A window that takes the console's place while it is open: the transport window. The
// program creates it through the step registry (StepCatalogue.h), so the console knows no
// concrete window.
class Window {
public:
    virtual ~Window() = default;

    // Form load: the theme on every panel, the menu in front.
    virtual void load() = 0;
    virtual bool closed() const = 0;

    // Told when the window closes: with `backToConsole` when the user left through its
    // "Çıkış" (the console opens again), without when its close control closed it.
    std::function<void(bool backToConsole)> onClosed;
};

}  // namespace belmo::console
