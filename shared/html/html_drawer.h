#pragma once
// Draws a text in a small HTML-like tag language with CSS-like styles into
// a painter: fonts, colours, decorations, alignment, rules, line breaks,
// tab stops, pictures, links with a hover style and tables with effect
// backgrounds. The same routine measures or draws.
#include <QColor>
#include <QCursor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

#include "shared/html/html_style.h"
#include "shared/widgets/draw_effects.h"

class QPainter;

namespace shared {

class CImageList;

// Where a drawn link lies: its rectangle, target text, kind (1 href, 2
// msg) and the link's running index in the text.
struct HtmlHotArea {
    QRect rect;
    QString target;
    int kind = 0;
    int index = 0;
};

// A table's layout from the last measuring pass.
struct HtmlTableRecord {
    QVector<int> columnWidths;
    QVector<int> rowHeights;
};

class CHtmlDrawer {
public:
    CHtmlDrawer();

    // Replaces the style sheet; an empty text sets the built-in one.
    void SetCssStyles(const QString& sheet);
    const HtmlStyleSheet& styleSheet() const { return m_sheet; }

    // The measuring pass: the text laid out in the width of the painter's
    // device, height unlimited; the size it needs, each side plus 1 (0 by 0
    // for an empty text).
    QSize DrawHtmlOnBitmap(QPainter& painter, const QString& text);
    // The drawing pass into rect (its right and bottom edges one pixel in).
    // Starts a new hot-area list.
    void DrawHtml(QPainter& painter, const QString& text, const QRect& rect);

    const QVector<HtmlHotArea>& hotAreas() const { return m_hotAreas; }
    // The tables of the last measuring pass, in the order they were measured.
    const QVector<HtmlTableRecord>& tables() const { return m_tables; }
    // The running index of the link drawn in the a:hover style; -1 none.
    void SetHotLink(int index) { m_hotLink = index; }
    int hotLink() const { return m_hotLink; }
    // The hot area under point, or -1.
    int HotAreaAt(const QPoint& point) const;
    // The cursor an owner shows over a hot area.
    static QCursor LinkCursor() { return QCursor(Qt::PointingHandCursor); }

    // On (the default) a tab acts as <t> and a line feed as <br>; off both
    // are dropped. A carriage return is always dropped.
    void SetControlCharacters(bool on) { m_controlCharacters = on; }
    // The folder `file` pictures are read from; a path that leaves it
    // draws nothing. Empty: no file pictures.
    void SetDataFolder(const QString& folder) { m_dataFolder = folder; }
    // The program's module name for `idres` pictures,
    // ":/<module>/bitmap/<id>.png".
    void SetResourceModule(const QString& module) { m_module = module; }
    void SetImageList(const CImageList* list) { m_imageList = list; }

    // Picture shadows: offsets in pixels and whether soft.
    void SetShadow(int offsetX, int offsetY, bool soft);

    struct Token;
    struct Item;
    struct Context;

private:
    QSize Layout(Context& context, int begin, int end, const QRect& area, bool draw);
    QSize LayoutLines(Context& context, int begin, int end, const QRect& area, bool draw);
    QSize LayoutTable(Context& context, int begin, int end, const QRect& area, bool draw, int depth);
    void OpenTag(Context& context, const Token& token, bool draw);
    void ApplyEntry(Context& context, const QString& selector);
    QImage LoadPicture(const Token& token, bool icon) const;
    void DrawItem(QPainter& painter, const Item& item, const QRect& box, int top, int lineHeight);
    void FillBackground(QPainter& painter, const HtmlStyle& style, const QRect& rect);

    HtmlStyleSheet m_sheet;
    QHash<QString, QString> m_declarations;  // selector to declaration text
    QVector<HtmlHotArea> m_hotAreas;
    QVector<HtmlTableRecord> m_tables;
    int m_hotLink = -1;
    bool m_controlCharacters = true;
    QString m_dataFolder;
    QString m_module;
    const CImageList* m_imageList = nullptr;
    int m_shadowX = 4;
    int m_shadowY = 4;
    bool m_softShadow = true;
    // Blur window 7 by 7, grey RGB(128,128,128) laid on at 50 percent.
    ShadowLook m_shadowLook{7, 7, QColor(128, 128, 128), 50};
    CDrawEffects m_effects;
    QHash<QString, QFont> m_fonts;  // by family, size, weight and decorations
};

}  // namespace shared
