#pragma once
// The window side of a task's double-buffered drawing: a window that shows a
// finished image as its back buffer.
#include <QImage>

namespace constructions::plotwise {

class BackBufferWindow {
public:
    // Takes the image as the window's back buffer and shows it: at once when
    // called outside the window's paint, by that paint when inside it.
    virtual void present(const QImage& image) = 0;

protected:
    ~BackBufferWindow() = default;
};

}  // namespace constructions::plotwise
