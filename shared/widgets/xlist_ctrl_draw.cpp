// The report list's drawing: every cell as text with an image, a check box,
// a progress bar or a combo cell, in the selection's colours.
#include "shared/widgets/xlist_ctrl.h"

#include <QPainter>

#include "platform/sys_colors.h"
#include "shared/draw_text.h"
#include "shared/widgets/image_list.h"
#include "shared/widgets/xheader_ctrl.h"
#include "shared/widgets/xlist_ctrl_internal.h"

namespace shared {

namespace {

void hline(QPainter& p, int x0, int x1, int y)  // x1 exclusive
{
    if (x1 > x0)
        p.drawLine(x0, y, x1 - 1, y);
}

void vline(QPainter& p, int x, int y0, int y1)  // y1 exclusive
{
    if (y1 > y0)
        p.drawLine(x, y0, x, y1 - 1);
}

// A 3-D edge round r: outer top-left / bottom-right colours, then inner.
void drawEdge(QPainter& p, WinRect r, const QColor& outerTL, const QColor& outerBR, const QColor& innerTL,
              const QColor& innerBR)
{
    for (int ring = 0; ring < 2 && r.width() > 1 && r.height() > 1; ++ring) {
        p.setPen(ring == 0 ? outerTL : innerTL);
        hline(p, r.left, r.right - 1, r.top);
        vline(p, r.left, r.top, r.bottom - 1);
        p.setPen(ring == 0 ? outerBR : innerBR);
        hline(p, r.left, r.right, r.bottom - 1);
        vline(p, r.right - 1, r.top, r.bottom);
        r = WinRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    }
}

}  // namespace

QString CXListCtrl::FormatProgressText(const QString& text, int percent)
{
    const QString format = text.isEmpty() ? QStringLiteral("%d%%") : text;
    QString out;
    bool placed = false;
    for (int i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 1 < format.size()) {
            if (format[i + 1] == u'%') {
                out += u'%';
                ++i;
                continue;
            }
            if (format[i + 1] == u'd' && !placed) {
                out += QString::number(percent);
                placed = true;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

// ---- painting ---------------------------------------------------------------

QImage CXListCtrl::Render()
{
    return grab().toImage();
}

void CXListCtrl::selectionColours(int row, int column, QColor& text, QColor& background) const
{
    if (!selectionModel()->isRowSelected(row, {}))
        return;
    if (column != 0 && !(m_extendedStyle & XListStyle::FullRowSelect))
        return;
    if (hasFocus()) {
        text = m_colours.highlightText;
        background = m_colours.highlight;
    } else if (m_showSelAlways) {
        text = m_colours.windowText;
        background = m_colours.faceUnfocusedSelection;
    }
}

void CXListCtrl::paintCell(QPainter& painter, int row, int column, const QRect& rect)
{
    const XListCell* c = cell(row, column);
    const XListCell* first = cell(row, 0);
    QColor text = m_colours.windowText;
    QColor back = m_colours.window;
    if (c) {
        text = c->textColour.isValid() ? c->textColour : text;
        back = c->backgroundColour.isValid() ? c->backgroundColour : back;
    }
    const bool grey = (first && !first->enabled) || (m_model->rows[row].state & LVIS_CUT);
    if (grey)
        text = m_colours.greyText;
    if (c && c->progress) {
        drawProgress(painter, row, column, rect, text, back);
    } else if (c && c->combo && selectionModel()->isRowSelected(row, {})) {
        drawCombo(painter, row, column, rect);
    } else if (c && c->checkState != -1) {
        drawCheckbox(painter, row, column, rect, text, back);
    } else {
        QRect area = rect;
        selectionColours(row, column, text, back);
        if (grey)
            text = m_colours.greyText;
        painter.fillRect(area, back);
        drawImage(painter, row, column, area, back);
        drawText(painter, row, column, area, text, back);
    }
}

void CXListCtrl::drawText(QPainter& painter, int row, int column, QRect rect, const QColor& text, const QColor&)
{
    const QString value = m_model->text(row, column);
    if (value.isEmpty())
        return;
    unsigned format = DrawTextFormat::VCenter | DrawTextFormat::SingleLine;
    const XListAlign align = GetColumnAlign(column);
    if (align == XListAlign::Center)
        format |= DrawTextFormat::Center;
    else if (align == XListAlign::Right)
        format |= DrawTextFormat::Right;
    QFont font = painter.font();
    const XListCell* c = cell(row, column);
    if (c && c->bold)
        font.setWeight(QFont::Bold);
    painter.setFont(font);
    painter.setPen(text);
    drawFormattedText(painter, rect, value, format);
}

void CXListCtrl::drawImage(QPainter& painter, int row, int column, QRect& rect, const QColor& back)
{
    const XListCell* c = cell(row, column);
    if (!m_images || !c || c->image < 0)
        return;
    const int spacing = m_header->GetSpacing();
    const QSize size = m_images->GetImageSize();
    painter.save();
    painter.setClipRect(rect);
    painter.fillRect(QRect(rect.left() + spacing, rect.top(), size.width(), rect.height()) & rect, back);
    m_images->Draw(painter, c->image, rect.left() + spacing, rect.top() + (rect.height() - size.height()) / 2);
    painter.restore();
    rect.setLeft(rect.left() + spacing + size.width());
}

void CXListCtrl::drawCheckbox(QPainter& painter, int row, int column, const QRect& rect, QColor text, QColor back)
{
    selectionColours(row, column, text, back);
    const XListCell* c = cell(row, column);
    const XListCell* first = cell(row, 0);
    const bool disabled = first && !first->enabled;
    painter.fillRect(rect, back);
    const WinRect cellRect(rect);
    const int side = cellRect.height() - 1;
    const QString value = m_model->text(row, column);
    const int left = value.isEmpty() ? cellRect.left + cellRect.width() / 2 - side / 2 - 1 : cellRect.left + 9;
    WinRect box(left, cellRect.top, left + side, cellRect.top + side);
    painter.fillRect(box.rect(), m_colours.window);
    box.left += 1;
    drawEdge(painter, box, m_colours.shadow, m_colours.highlight3d, platform::sysColor(platform::COLOR_3DDKSHADOW),
             platform::sysColor(platform::COLOR_3DLIGHT));
    if (c->checkState == 1) {
        painter.setPen(QPen(disabled ? m_colours.greyText : QColor(Qt::black), 1));
        for (int stroke = 0; stroke < 7; ++stroke) {
            const int x = box.left + 9 - stroke;
            const int y = box.top + 3 + (stroke <= 3 ? stroke : 6 - stroke);
            painter.drawLine(x, y, x, y + 2);
        }
    }
    if (!value.isEmpty()) {
        painter.setPen(text);
        drawFormattedText(painter, WinRect(box.right + kCheckboxTextGap, cellRect.top, cellRect.right, cellRect.bottom).rect(),
                          value, DrawTextFormat::VCenter | DrawTextFormat::SingleLine);
    }
}

void CXListCtrl::drawProgress(QPainter& painter, int row, int column, const QRect& rect, const QColor& text,
                              const QColor& back)
{
    const XListCell* c = cell(row, column);
    WinRect r(rect);
    r.left += 1;
    r.right -= 2;
    r.bottom -= 1;
    painter.fillRect(rect, back);
    painter.setPen(m_colours.shadow);
    hline(painter, r.left, r.right + 1, r.top);
    hline(painter, r.left, r.right + 1, r.bottom);
    vline(painter, r.left, r.top, r.bottom + 1);
    vline(painter, r.right, r.top, r.bottom + 1);
    painter.fillRect(WinRect(r.left + 1, r.top + 1, r.right, r.bottom).rect(), QColor(224, 224, 224));
    painter.setPen(Qt::black);
    hline(painter, r.left + 1, r.right, r.top + 1);
    vline(painter, r.left + 1, r.top + 1, r.bottom);
    const WinRect bar(r.left + 2, r.top + 2, r.right, r.bottom);
    int filledRight = bar.left;
    if (c->progressPercent > 0) {
        filledRight = bar.left + bar.width() * c->progressPercent / 100 + 1;
        painter.fillRect(WinRect(bar.left, bar.top, filledRight, bar.bottom).rect(), m_colours.highlight);
    }
    if (c->showProgressText) {
        const QString value = FormatProgressText(c->progressText, c->progressPercent);
        const QRect textRect = WinRect(r.left + 2, r.top + 1, r.right - 1, r.bottom - 1).rect();
        const unsigned format = DrawTextFormat::Center | DrawTextFormat::VCenter | DrawTextFormat::SingleLine;
        painter.save();
        painter.setClipRect(WinRect(r.left, r.top, filledRight, r.bottom).rect());
        painter.setPen(back);
        drawFormattedText(painter, textRect, value, format);
        painter.setClipRect(WinRect(filledRight, r.top, r.right + 1, r.bottom + 1).rect());
        painter.setPen(text);
        drawFormattedText(painter, textRect, value, format);
        painter.restore();
    }
}

void CXListCtrl::drawCombo(QPainter& painter, int row, int column, const QRect& rect)
{
    XListCell* c = cell(row, column);
    const XListCell* first = cell(row, 0);
    const bool disabled = first && !first->enabled;
    painter.fillRect(rect, m_colours.window);
    WinRect r(rect);
    r.left += 1;
    r.top += 1;
    r.right -= 2;
    painter.setPen(m_colours.comboFrame);
    painter.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
    const int side = r.height();
    const WinRect button(r.right - side, r.top, r.right, r.bottom);
    painter.fillRect(WinRect(r.left + 2, r.top + 2, button.left, r.bottom - 2).rect(), Qt::white);
    QString& text = m_model->rows[row].texts[column];
    if (text.isEmpty() && c->comboStrings && c->initialComboSelection >= 0 &&
        c->initialComboSelection < c->comboStrings->size())
        text = c->comboStrings->at(c->initialComboSelection);
    if (!text.isEmpty()) {
        painter.setPen(disabled ? m_colours.greyText : m_colours.windowText);
        drawFormattedText(painter, WinRect(r.left + 2, r.top, button.left - 1, r.bottom).rect(), text,
                          DrawTextFormat::VCenter | DrawTextFormat::SingleLine);
    }
    painter.fillRect(button.rect(), m_colours.face);
    const int shift = c->comboOpen ? 1 : 0;
    if (c->comboOpen) {
        m_comboButtonRect = button.rect();
        drawEdge(painter, button, m_colours.shadow, m_colours.highlight3d,
                 platform::sysColor(platform::COLOR_3DDKSHADOW), platform::sysColor(platform::COLOR_3DLIGHT));
    } else {
        drawEdge(painter, button, platform::sysColor(platform::COLOR_3DLIGHT),
                 platform::sysColor(platform::COLOR_3DDKSHADOW), m_colours.highlight3d, m_colours.shadow);
    }
    painter.setPen(Qt::black);
    const int x = button.left + (button.width() - 5) / 2 + shift;
    const int y = button.top + (button.height() - 3) / 2 + shift;
    for (int line = 0; line < 3; ++line)
        hline(painter, x + line, x + 5 - line, y + line);
}

}  // namespace shared
