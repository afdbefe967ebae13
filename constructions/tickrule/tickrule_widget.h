#pragma once
// The number-axis control's window. It paints only in its paintEvent: a
// picture that a task's Update hands over is shown at once (repaint); any
// other paint asks the control to draw its active task first.
#include <QImage>
#include <QWidget>

namespace constructions::tickrule {

class CTickrule;

class TickruleWidget : public QWidget {
public:
    TickruleWidget(QWidget* parent, CTickrule* control);
    // The control is going: the widget calls it no more.
    void detach() { m_control = nullptr; }
    // A finished picture of the client size, shown now.
    void showImage(const QImage& image);
    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CTickrule* m_control;
    QImage m_image;
    bool m_inPaint = false;
    bool m_showPending = false;
};

// The picture of a control without an active task: a frame and the library's
// caption centred.
QImage placeholderImage(QSize size);

}  // namespace constructions::tickrule
