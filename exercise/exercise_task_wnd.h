#pragma once
// One task row of the drill: the sheet picture, the task's formula (viewer
// mode), the answer field (editor mode) in a sunken frame, and the traffic
// light that the last check set.
#include <QWidget>

#include "solvehost/symbrant_ctrl.h"

namespace exercise {

// The program-wide counter of child ids.
int NextChildId();

class CExerciseTaskWnd : public QWidget {
public:
    enum LightState { lightOff = -1, lightGreen = 0, lightYellow = 1, lightRed = 2 };

    // Creates the row with its two formula controls.
    CExerciseTaskWnd(QWidget* parent, int id);

    solvehost::CSymbrantCtrl& Statement() { return *m_statement; }
    solvehost::CSymbrantCtrl& Answer() { return *m_answer; }
    int GetLightState() const { return m_lightState; }
    void SetLightState(int state);
    int GetPreferredHeight() const { return m_preferredHeight; }
    void SetPreferredHeight(int height) { m_preferredHeight = height; }
    int GetDlgCtrlID() const { return m_id; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    solvehost::CSymbrantCtrl* m_statement;
    solvehost::CSymbrantCtrl* m_answer;
    int m_lightState = lightOff;
    int m_preferredHeight = 0;
    int m_id;
};

}  // namespace exercise
