#pragma once
// An owner-drawn up-down control: two arrow halves drawn off-screen, a range
// (given the wrong way round, it is swapped and the arrows are reversed),
// a position, and a buddy beside which it sits. A buddy line edit reports
// what is typed into it: every U+00A0 (a thousands separator) removed, the
// rest read as atoi reads it, as deltaPos(value, 0). A buddy reports to the
// spin it was given to last.
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLineEdit;

namespace shared {

// atoi's reading of a typed text with every U+00A0 removed: leading white
// space, a sign, decimal digits up to the first other character; 0 when
// there are none; beyond int it saturates at INT_MIN or INT_MAX.
int readTypedInteger(const QString& text);

class CFlatSpinButton : public QWidget {
    Q_OBJECT
public:
    enum Alignment { AlignNone = 0, AlignRight = 1, AlignLeft = 2 };
    // Which arrow is at its limit.
    enum Limit { LimitNone = 0, LimitMaximum = 1, LimitMinimum = 2 };

    explicit CFlatSpinButton(QWidget* parent = nullptr);
    ~CFlatSpinButton() override;

    // Vertical (the default: up raises the position) or horizontal (right
    // raises it).
    void SetVertical(bool vertical);
    bool IsVertical() const { return m_vertical; }
    void SetAlignment(Alignment alignment) { m_alignment = alignment; }
    Alignment GetAlignment() const { return m_alignment; }

    // The range as given: with lower not below upper it is swapped and the
    // arrows work the other way.
    void SetRange(int lower, int upper);
    int GetMinimum() const { return m_minimum; }
    int GetMaximum() const { return m_maximum; }
    bool IsReversed() const { return m_reversed; }
    // Clamped to the range; answers the previous position.
    int SetPos(int position);
    int GetPos() const { return m_position; }
    Limit GetLimit() const;

    // Sits beside the buddy by the alignment (the buddy gives up the room),
    // stacks right behind it, and, for a line edit, takes its typed values.
    void SetBuddy(QWidget* buddy);
    QWidget* GetBuddy() const { return m_buddy; }

    // The arrow halves in the control's coordinates: the one that raises the
    // position (with the range as given) and the one that lowers it.
    QRect upRect() const;
    QRect downRect() const;
    QSize sizeHint() const override;

signals:
    // Before an arrow changes the position (delta +1 or -1), and for a typed
    // value of the buddy (delta 0).
    void deltaPos(int position, int delta);
    // After the position changed by an arrow.
    void scrolled(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    friend class BuddyMap;
    void typed(const QString& text);
    void step();
    void placeBesideBuddy();
    void unhookBuddy();
    QRect increasingRect() const;
    QRect decreasingRect() const;

    QPointer<QWidget> m_buddy;
    bool m_vertical = true;
    bool m_reversed = false;
    Alignment m_alignment = AlignNone;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
    QRect m_pressed;      // the half pressed, while the button is held
    bool m_pressedInside = false;
    QTimer m_repeat;
};

}  // namespace shared
