#include "shared/widgets/draw_effects.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <vector>

namespace shared {

// ---- palette picture ---------------------------------------------------------

bool CPaletteDib::Create(int width, int height, int bitsPerPixel)
{
    m_image = QImage();
    m_palette.clear();
    if (width < 1 || height < 1)
        return false;
    const int entries = bitsPerPixel == 1 ? 2 : bitsPerPixel == 4 ? 16 : bitsPerPixel == 8 ? 256 : 0;
    m_palette.fill(qRgb(0, 0, 0), entries);
    m_image = QImage(width, height, QImage::Format_Indexed8);
    m_image.fill(0);
    return true;
}

void CPaletteDib::SetPaletteEntry(int index, int red, int green, int blue)
{
    if (index < 0 || index >= m_palette.size())
        return;
    m_palette[index] = qRgb(red, green, blue);
}

void CPaletteDib::BlendPalette(const QColor& colour, int percent)
{
    const int p = std::clamp(percent, 0, 100);
    for (QRgb& entry : m_palette) {
        entry = qRgb((qRed(entry) * (100 - p) + colour.red() * p) / 100,
                     (qGreen(entry) * (100 - p) + colour.green() * p) / 100,
                     (qBlue(entry) * (100 - p) + colour.blue() * p) / 100);
    }
}

void CPaletteDib::Fill(int index)
{
    if (!m_image.isNull())
        m_image.fill(static_cast<uint>(index & 0xff));
}

void CPaletteDib::SetPixel(int x, int y, int index)
{
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
        return;
    m_image.scanLine(y)[x] = static_cast<uchar>(index & 0xff);
}

int CPaletteDib::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
        return -1;
    return m_image.constScanLine(y)[x];
}

QColor CPaletteDib::paletteEntry(int index) const
{
    if (index < 0 || index >= m_palette.size())
        return {};
    return QColor::fromRgb(m_palette[index]);
}

void CPaletteDib::Draw(QPainter& painter, int x, int y) const
{
    if (m_image.isNull() || m_palette.isEmpty())
        return;
    // Indexes beyond a small palette show its last entry.
    QVector<QRgb> table(256, m_palette.back());
    std::copy(m_palette.begin(), m_palette.end(), table.begin());
    QImage copy = m_image;
    copy.setColorTable(table);
    painter.drawImage(x, y, copy);
}

// ---- colours ---------------------------------------------------------------------

QColor CDrawEffects::GrayColor(const QColor& c)
{
    const int l = static_cast<int>(0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue());
    return QColor(l, l, l);
}

QColor CDrawEffects::InvertColor(const QColor& c)
{
    return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue());
}

QColor CDrawEffects::DarkenColor(const QColor& c, double f)
{
    if (f < 0.0 || f >= 1.0)
        return c;
    return QColor(static_cast<int>(c.red() * f), static_cast<int>(c.green() * f), static_cast<int>(c.blue() * f));
}

QColor CDrawEffects::LightenColor(const QColor& c, double f)
{
    if (f <= 0.0 || f > 1.0)
        return c;
    const auto up = [f](int v) { return std::min(255, static_cast<int>(v * (1.0 + f))); };
    return QColor(up(c.red()), up(c.green()), up(c.blue()));
}

// ---- fills -------------------------------------------------------------------------

CDrawEffects::CDrawEffects() = default;

void CDrawEffects::SetRandomSource(std::function<int()> source)
{
    m_random = std::move(source);
}

int CDrawEffects::random()
{
    if (m_random)
        return std::clamp(m_random(), 0, 32767);
    // A 15-bit linear congruential generator (the textures assume 32767 as
    // the largest value).
    m_seed = m_seed * 1103515245u + 12345u;
    return static_cast<int>((m_seed >> 16) & 0x7fffu);
}

void FillGradientBands(QPainter& painter, const QRect& rect, const QColor& begin, const QColor& end, bool horizontal)
{
    const int start = horizontal ? rect.left() : rect.top();
    const int extent = horizontal ? rect.width() : rect.height();
    for (int i = 0; i < 64; ++i) {
        const int from = start + (extent * i) / 64;
        const int to = start + (extent * (i + 1)) / 64;
        if (to <= from)
            continue;
        const QColor colour((begin.red() * (64 - i) + end.red() * i) / 64,
                            (begin.green() * (64 - i) + end.green() * i) / 64,
                            (begin.blue() * (64 - i) + end.blue() * i) / 64);
        const QRect band = horizontal ? QRect(from, rect.top(), to - from, rect.height())
                                      : QRect(rect.left(), from, rect.width(), to - from);
        painter.fillRect(band, colour);
    }
}

void CDrawEffects::FillEffect(QPainter& painter, int effect, const QRect& rect, const QColor& begin,
                              const QColor& middle, const QColor& end, int granularity, int colouring)
{
    if (effect == Effect::Transparent || rect.width() <= 0 || rect.height() <= 0)
        return;
    const int halfW = rect.width() / 2;
    const int halfH = rect.height() / 2;
    const QRect left(rect.left(), rect.top(), halfW, rect.height());
    const QRect right(rect.left() + halfW, rect.top(), rect.width() - halfW, rect.height());
    const QRect top(rect.left(), rect.top(), rect.width(), halfH);
    const QRect bottom(rect.left(), rect.top() + halfH, rect.width(), rect.height() - halfH);
    switch (effect) {
    case Effect::HGradient: FillGradientBands(painter, rect, begin, end, true); break;
    case Effect::VGradient: FillGradientBands(painter, rect, begin, end, false); break;
    case Effect::HCGradient:
        FillGradientBands(painter, left, begin, end, true);
        FillGradientBands(painter, right, end, begin, true);
        break;
    case Effect::VCGradient:
        FillGradientBands(painter, top, begin, end, false);
        FillGradientBands(painter, bottom, end, begin, false);
        break;
    case Effect::H3Gradient:
        FillGradientBands(painter, left, begin, middle, true);
        FillGradientBands(painter, right, middle, end, true);
        break;
    case Effect::V3Gradient:
        FillGradientBands(painter, top, begin, middle, false);
        FillGradientBands(painter, bottom, middle, end, false);
        break;
    default:
        if (effect >= Effect::Noise && effect <= Effect::Metal)
            fillTexture(painter, effect, rect, begin, middle, end, granularity, colouring);
        else
            painter.fillRect(rect, begin);
        break;
    }
}

void CDrawEffects::fillTexture(QPainter& painter, int effect, const QRect& rect, const QColor& begin,
                               const QColor& middle, const QColor& end, int granularity, int colouring)
{
    const int w = rect.width();
    const int h = rect.height();
    const int g = std::clamp(granularity, 0, 255);
    if (!m_dib.Create(w, h, 8))
        return;
    for (int i = 0; i <= 128; ++i)
        m_dib.SetPaletteEntry(i, (end.red() * (128 - i) + middle.red() * i) / 128,
                              (end.green() * (128 - i) + middle.green() * i) / 128,
                              (end.blue() * (128 - i) + middle.blue() * i) / 128);
    for (int j = 1; j <= 128; ++j)
        m_dib.SetPaletteEntry(127 + j, (middle.red() * (128 - j) + begin.red() * j) / 128,
                              (middle.green() * (128 - j) + begin.green() * j) / 128,
                              (middle.blue() * (128 - j) + begin.blue() * j) / 128);
    m_dib.BlendPalette(begin, colouring & 0xff);

    const int divisor = std::max(1, 2 * g);
    const auto noise = [this, divisor, g] { return random() / (32767 / divisor) - g; };
    // y counts rows from the bottom row, as the picture stores them.
    const auto put = [this, h](int x, int y, int index) { m_dib.SetPixel(x, h - 1 - y, index); };
    const auto cube = [](int t) { return t * t * t; };

    switch (effect) {
    case Effect::Noise:
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                put(x, y, 128 + noise());
        break;
    case Effect::DiagShade: {
        const int k = (255 - 2 * g) / 2;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                put(x, y, k * (w - x) / w + k * y / h + g + noise());
        break;
    }
    case Effect::HShade:
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                put(x, y, (255 - 2 * g) * y / h + g + noise());
        break;
    case Effect::VShade:
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                put(x, y, (255 - 2 * g) * (w - x) / w + g + noise());
        break;
    case Effect::HBump:
        for (int y = 0; y < h; ++y) {
            const int t = 255 * y / h - 127;
            for (int x = 0; x < w; ++x)
                put(x, y, (cube(t) / 128 / 128) * (128 - g) / 128 + 128 + noise());
        }
        break;
    case Effect::VBump:
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int t = 255 * (w - x) / w - 127;
                put(x, y, (cube(t) / 128 / 128) * (128 - g) / 128 + 128 + noise());
            }
        break;
    case Effect::SoftBump:
        for (int y = 0; y < h; ++y) {
            const int ty = 255 * y / h - 127;
            for (int x = 0; x < w; ++x) {
                const int tx = 255 * (w - x) / w - 127;
                int v = ((cube(tx) / 16384 + cube(ty) / 16384) * (128 - g)) / 128 + 128;
                v = std::max(g, std::min(255 - g, v));
                put(x, y, v + noise());
            }
        }
        break;
    case Effect::HardBump: {
        const int e = std::min(w / 6, 16);
        const int quarter = h * h / 4;
        for (int y = 0; y < h; ++y) {
            const int t = 255 * y / h - 127;
            const int base = (cube(t) / 128 / 128) * ((64 - g) * 2) / 128 + 128;
            // The bevel's edge: e at the middle row, widening to the centre
            // line's half width at the top and bottom. No bevel without a
            // width to ramp over or a height to bend in.
            const bool bevel = e > 0 && h >= 2 && quarter > 0;
            const int dy = y - h / 2;
            const int offset = bevel ? e * dy * dy / quarter + w / 2 - e : w;
            for (int x = 0; x < w; ++x) {
                int v = base;
                if (bevel && x > w / 2 + offset)
                    v = (128 * (w - x)) / e + g;
                else if (bevel && x < w / 2 - offset)
                    v = (255 - g) - (128 * x) / e;
                put(x, y, v + noise());
            }
        }
        break;
    }
    case Effect::Metal: {
        m_dib.Fill(0);
        std::vector<int> add(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
        for (int stroke = 0; stroke < 200; ++stroke) {
            const int sx = random() * w / 32767;
            const int sy = random() * h / 32767;
            const int length = random() * (std::min(w, h) / 2) / 32767;
            const int index = random() / 819;
            for (int i = 0; i < length; ++i) {
                put(sx - i, sy + i, index);
                put(w - sx + i, sy - i, index);
            }
        }
        const int k = (215 - 2 * g) / 2;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int stored = m_dib.GetPixel(x, h - 1 - y);
                put(x, y, stored + k * (w - x) / w + k * y / h + random() % (2 * g + 1));
            }
        break;
    }
    default: break;
    }
    m_dib.Draw(painter, rect.left(), rect.top());
}

// ---- borders and lines -----------------------------------------------------------

namespace {

Qt::PenStyle penStyle(int style)
{
    switch (style) {
    case 2: return Qt::DashLine;
    case 3: return Qt::DotLine;
    case 4: return Qt::DashDotLine;
    case 5: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
    }
}

QPen stylePen(const QColor& colour, int style, int width)
{
    QPen pen(colour, width, penStyle(style), Qt::SquareCap, Qt::MiterJoin);
    return pen;
}

}  // namespace

void CDrawEffects::DrawRectangle(QPainter& painter, const QRect& rect, const QColor& light, const QColor& dark,
                                 int style, int width)
{
    if (style <= 0 || style > 6 || width < 1 || rect.isEmpty())
        return;
    painter.save();
    const int passes = style == 6 ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        // The pen runs on the middle of its width, inside the rectangle.
        const int in = width / 2 + pass * 2 * width;
        const int l = rect.left() + in;
        const int t = rect.top() + in;
        const int r = rect.left() + rect.width() - 1 - (width - 1 - width / 2) - pass * 2 * width;
        const int b = rect.top() + rect.height() - 1 - (width - 1 - width / 2) - pass * 2 * width;
        if (r < l || b < t)
            break;
        painter.setPen(stylePen(light, style, width));
        painter.drawPolyline(QPolygon({QPoint(l, b), QPoint(l, t), QPoint(r, t)}));
        if (dark != light)
            painter.setPen(stylePen(dark, style, width));
        painter.drawPolyline(QPolygon({QPoint(r, t), QPoint(r, b), QPoint(l, b)}));
    }
    painter.restore();
}

void CDrawEffects::DrawLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& colour, int style,
                            int width)
{
    if (style <= 0 || style > 6 || width < 1)
        return;
    painter.save();
    painter.setPen(stylePen(colour, style, width));
    painter.drawLine(x1, y1, x2, y2);
    if (style == 6) {
        const bool horizontal = std::abs(x2 - x1) >= std::abs(y2 - y1);
        const int dx = horizontal ? 0 : 2 * width;
        const int dy = horizontal ? 2 * width : 0;
        painter.drawLine(x1 + dx, y1 + dy, x2 + dx, y2 + dy);
    }
    painter.restore();
}

// ---- picture effects ----------------------------------------------------------------

QImage CDrawEffects::CreateImageEffect(const QImage& bitmap, int width, int height, unsigned flags, bool useMask,
                                       const QColor& maskColour, const QColor& oneColour)
{
    if (width < 1 || height < 1)
        return {};
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(Qt::black);
    {
        QPainter copy(&out);
        copy.drawImage(0, 0, bitmap.convertToFormat(QImage::Format_RGB32));
    }
    const QRgb mask = maskColour.rgb() & 0xffffffu;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            QColor c = QColor::fromRgb(line[x]);
            if (useMask && (line[x] & 0xffffffu) == mask) {
                c = Qt::black;
            } else {
                if (flags & ImageEffect::Grey)
                    c = GrayColor(c);
                if (flags & ImageEffect::Darker)
                    c = DarkenColor(c, 0.75);
                if (flags & ImageEffect::Lighter)
                    c = LightenColor(c, 0.25);
                if (flags & ImageEffect::OneColour)
                    c = oneColour;
            }
            if (flags & ImageEffect::Inverted)
                c = InvertColor(c);
            line[x] = c.rgb();
        }
    }
    return out;
}

void CDrawEffects::DrawBitmap(QPainter& painter, int x, int y, int width, int height, const QImage& bitmap,
                              bool useMask, const QColor& maskColour, unsigned flags, int shadowX, int shadowY,
                              const ShadowLook& look)
{
    if (bitmap.isNull() || width < 1 || height < 1)
        return;
    const QImage scaled = bitmap.size() == QSize(width, height)
                              ? bitmap
                              : bitmap.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage mask = CreateImageEffect(scaled, width, height, ImageEffect::OneColour | ImageEffect::Inverted,
                                          useMask, maskColour, Qt::white);
    const QImage image = CreateImageEffect(scaled, width, height, flags & 0x800fu, useMask, maskColour, Qt::black);
    if (flags & (ImageEffect::Shadow | ImageEffect::SoftShadow)) {
        const bool soft = (flags & ImageEffect::SoftShadow) != 0;
        const int blurX = !soft ? 1 : look.blurX > 0 ? look.blurX : 2 * std::abs(shadowX) + 1;
        const int blurY = !soft ? 1 : look.blurY > 0 ? look.blurY : 2 * std::abs(shadowY) + 1;
        DrawShadow(painter, x + shadowX, y + shadowY, width, height, mask, soft, blurX, blurY, look.colour,
                   look.darkness);
    }
    painter.save();
    // The mask clears the picture's place (AND), the picture fills it (OR).
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(x, y, mask);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(x, y, image);
    painter.restore();
}

void CDrawEffects::DrawIcon(QPainter& painter, int x, int y, int width, int height, const QImage& icon,
                            unsigned flags, int shadowX, int shadowY, const ShadowLook& look)
{
    if (icon.isNull() || width < 1 || height < 1)
        return;
    QImage sized = StretchIcon(icon, width, height).convertToFormat(QImage::Format_ARGB32);
    // Clear pixels take a colour the picture does not use, which the mask
    // then shows through.
    const QRgb clear = qRgb(1, 254, 3);
    QImage opaque(sized.size(), QImage::Format_RGB32);
    for (int row = 0; row < sized.height(); ++row) {
        const auto* in = reinterpret_cast<const QRgb*>(sized.constScanLine(row));
        auto* out = reinterpret_cast<QRgb*>(opaque.scanLine(row));
        for (int col = 0; col < sized.width(); ++col)
            out[col] = qAlpha(in[col]) < 128 ? clear : (in[col] | 0xff000000u);
    }
    DrawBitmap(painter, x, y, width, height, opaque, true, QColor::fromRgb(clear), flags, shadowX, shadowY, look);
}

void CDrawEffects::DrawShadow(QPainter& painter, int x, int y, int width, int height, const QImage& mask,
                              bool gradient, int blurX, int blurY, const QColor& colour, int darkness)
{
    if (width < 1 || height < 1 || mask.isNull())
        return;
    blurX = std::max(1, blurX);
    blurY = std::max(1, blurY);
    if (blurX % 2 == 0)
        ++blurX;
    if (blurY % 2 == 0)
        ++blurY;
    QImage shade(width, height, QImage::Format_RGB32);
    shade.fill(Qt::white);
    {
        QPainter p(&shade);
        if (gradient) {
            const QRect target(blurX / 2, blurY / 2, std::max(1, width - blurX + 1), std::max(1, height - blurY + 1));
            p.drawImage(target, mask);
        } else {
            p.drawImage(0, 0, mask);
        }
    }
    // Separable box blur with running sums, rows then columns; outside the
    // picture counts as white (no shadow).
    std::vector<int> value(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col)
            value[static_cast<std::size_t>(row * width + col)] = qGray(shade.pixel(col, row));
    std::vector<int> temp(value.size());
    const int rx = blurX / 2;
    const int ry = blurY / 2;
    for (int row = 0; row < height; ++row) {
        int sum = 0;
        for (int col = -rx; col <= rx; ++col)
            sum += col >= 0 && col < width ? value[static_cast<std::size_t>(row * width + col)] : 255;
        for (int col = 0; col < width; ++col) {
            temp[static_cast<std::size_t>(row * width + col)] = sum / blurX;
            const int out = col - rx;
            const int in = col + rx + 1;
            sum -= out >= 0 ? value[static_cast<std::size_t>(row * width + out)] : 255;
            sum += in < width ? value[static_cast<std::size_t>(row * width + in)] : 255;
        }
    }
    // A fully shadowed pixel is multiplied by 255 - darkness% of (255 - colour).
    darkness = std::clamp(darkness, 0, 100);
    const int reach[3] = {(255 - colour.red()) * darkness, (255 - colour.green()) * darkness,
                          (255 - colour.blue()) * darkness};
    const auto shaded = [&](int v, int channel) { return 255 - (255 - v) * reach[channel] / (255 * 100); };
    for (int col = 0; col < width; ++col) {
        int sum = 0;
        for (int row = -ry; row <= ry; ++row)
            sum += row >= 0 && row < height ? temp[static_cast<std::size_t>(row * width + col)] : 255;
        for (int row = 0; row < height; ++row) {
            const int v = sum / blurY;
            shade.setPixel(col, row, qRgb(shaded(v, 0), shaded(v, 1), shaded(v, 2)));
            const int out = row - ry;
            const int in = row + ry + 1;
            sum -= out >= 0 ? temp[static_cast<std::size_t>(out * width + col)] : 255;
            sum += in < height ? temp[static_cast<std::size_t>(in * width + col)] : 255;
        }
    }
    // Each pixel under the shadow is darkened by its blurred mask value / 255.
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    painter.drawImage(x, y, shade);
    painter.restore();
}

// ---- icons and tiles ----------------------------------------------------------------

QImage CDrawEffects::StretchIcon(const QImage& icon, int width, int height)
{
    if (icon.isNull() || width < 1 || height < 1)
        return {};
    if (icon.size() == QSize(width, height))
        return icon;
    return icon.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QSize CDrawEffects::GetIconSize(const QImage& icon)
{
    return icon.isNull() ? QSize(0, 0) : icon.size();
}

QSize CDrawEffects::GetBitmapSize(const QImage& bitmap)
{
    return bitmap.isNull() ? QSize(0, 0) : bitmap.size();
}

void CDrawEffects::TileBlt(QPainter& painter, const QRect& rect, const QImage& source, int sourceX, int sourceY,
                           int tileWidth, int tileHeight)
{
    if (source.isNull() || tileWidth < 1 || tileHeight < 1 || rect.isEmpty())
        return;
    for (int top = rect.top(); top <= rect.bottom(); top += tileHeight) {
        const int h = std::min(tileHeight, rect.bottom() + 1 - top);
        for (int left = rect.left(); left <= rect.right(); left += tileWidth) {
            const int w = std::min(tileWidth, rect.right() + 1 - left);
            painter.drawImage(QPoint(left, top), source, QRect(sourceX, sourceY, w, h));
        }
    }
}

}  // namespace shared
