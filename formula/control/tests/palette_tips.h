#pragma once
// The tool tips of a shown palette of the formula control, for the hosts'
// checks of the language the palette speaks.
#include <QAbstractButton>
#include <QApplication>
#include <QWidget>

#include <string>
#include <vector>

namespace formula::control::test {

// The tips of every button of the shown palette named `name`
// ("templatesPalette" or "functionsPalette"); none when it is not shown.
inline std::vector<std::string> shownPaletteToolTips(const char* name = "templatesPalette")
{
    std::vector<std::string> tips;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->objectName() == QLatin1String(name))
            for (QAbstractButton* button : top->findChildren<QAbstractButton*>())
                tips.push_back(button->toolTip().toStdString());
    return tips;
}

}  // namespace formula::control::test
