#pragma once
// The tool tips of a shown palette of the formula control, for the hosts'
// checks of the language the palette speaks.
#include <QAbstractButton>
#include <QApplication>
#include <QWidget>

#include <string>
#include <vector>

namespace formula::control::test {

// The shown palette named `name` ("templatesPalette" or "functionsPalette"),
// null when it is not shown.
inline QWidget* shownPalette(const char* name = "templatesPalette")
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->objectName() == QLatin1String(name))
            return top;
    return nullptr;
}

// The tips of every button of the shown palette named `name`
// ("templatesPalette" or "functionsPalette"); none when it is not shown.
inline std::vector<std::string> shownPaletteToolTips(const char* name = "templatesPalette")
{
    std::vector<std::string> tips;
    if (QWidget* palette = shownPalette(name))
        for (QAbstractButton* button : palette->findChildren<QAbstractButton*>())
            tips.push_back(button->toolTip().toStdString());
    return tips;
}

}  // namespace formula::control::test
