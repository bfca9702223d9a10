#include "KeyboardArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

#include "KeyLegend.h"

namespace {

QRectF RectOf(const CoordKey& key) {
    return QRectF(key.left, key.top, qreal(key.right) - key.left, qreal(key.bottom) - key.top);
}

QLinearGradient Vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QLinearGradient Spectrum(const QPointF& from, const QPointF& to, int alpha) {
    QLinearGradient g(from, to);
    const int stops = 7;
    for (int i = 0; i < stops; ++i) g.setColorAt(qreal(i) / (stops - 1), QColor::fromHsv((i * 300 / (stops - 1)) % 360, 230, 255, alpha));
    return g;
}

QFont LegendFont(qreal pixels, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    // 96 dpi images: a point is 4/3 pixels. Point sizes accept the half pixels the legends use.
    f.setPointSizeF(pixels * 0.75);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

struct CapColors {
    QColor skirtTop, skirtBottom, faceTop, faceBottom, rim;
};

CapColors ColorsFor(KeyboardArt::Layer layer) {
    switch (layer) {
        case KeyboardArt::Layer::Floating:
            return {QColor(0x33, 0x45, 0x57), QColor(0x1f, 0x2a, 0x36), QColor(0x5a, 0x6f, 0x86), QColor(0x44, 0x55, 0x69),
                    QColor(0x2e, 0xd6, 0xff)};
        case KeyboardArt::Layer::Checked:
            return {QColor(0xb8, 0x4a, 0x00), QColor(0x7a, 0x2c, 0x00), QColor(0xff, 0x93, 0x24), QColor(0xf0, 0x6a, 0x00),
                    QColor(0xff, 0xc0, 0x70)};
        case KeyboardArt::Layer::Pressed:
            return {QColor(0x22, 0x25, 0x2b), QColor(0x18, 0x1a, 0x1f), QColor(0x2a, 0x2e, 0x35), QColor(0x25, 0x28, 0x2e),
                    QColor(0x2e, 0xd6, 0xff)};
        case KeyboardArt::Layer::Normal:
            break;
    }
    return {QColor(0x31, 0x34, 0x3b), QColor(0x1f, 0x21, 0x26), QColor(0x40, 0x44, 0x4d), QColor(0x33, 0x36, 0x3e),
            QColor(0, 0, 0, 0)};
}

}  // namespace

KeyboardArt::KeyboardArt(std::vector<CoordKey> keys, QSize logicalSize, int scale)
    : m_keys(std::move(keys)), m_size(logicalSize), m_scale(scale) {}

const char* KeyboardArt::FileName(Layer layer) {
    switch (layer) {
        case Layer::Normal: return "keyboard_normal.png";
        case Layer::Floating: return "keyboard_floating.png";
        case Layer::Checked: return "keyboard_checked.png";
        case Layer::Pressed: return "keyboard_pressed.png";
    }
    return "";
}

QImage KeyboardArt::Render(Layer layer) const {
    QImage image(m_size * m_scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(m_scale, m_scale);
    if (layer == Layer::Normal) DrawCase(p);
    for (const CoordKey& key : m_keys) {
        if (key.right <= key.left || key.bottom <= key.top) continue;
        p.save();
        // Overlays are copied key by key: nothing of a cap may spill past its rectangle.
        p.setClipRect(RectOf(key));
        DrawCap(p, key, layer);
        p.restore();
    }
    p.end();
    // Stored as 96 dpi times the scale: that is how the picture knows the image is high density.
    // Set only now, since the painter would otherwise grow every font by the same factor.
    const int dotsPerMeter = qRound(96.0 * m_scale / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image.convertToFormat(QImage::Format_ARGB32);
}

void KeyboardArt::DrawCase(QPainter& p) const {
    const QRectF outer = QRectF(QPointF(0, 0), QSizeF(m_size)).adjusted(2, 2, -2, -2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(outer.adjusted(0, 2, 0, 1), 18, 18);
    p.setBrush(Vertical(outer, QColor(0x2c, 0x2f, 0x36), QColor(0x14, 0x15, 0x19)));
    p.setPen(QPen(QColor(0x05, 0x05, 0x07), 1.5));
    p.drawRoundedRect(outer, 18, 18);
    // A bevelled rim catches the light on the upper edge.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Vertical(outer, QColor(255, 255, 255, 50), QColor(255, 255, 255, 0)), 1));
    p.drawRoundedRect(outer.adjusted(1.5, 1.5, -1.5, -1.5), 16.5, 16.5);

    // The plate the keys sit in, sunk a little into the case.
    QRectF keysBounds;
    for (const CoordKey& key : m_keys) keysBounds |= RectOf(key);
    const QRectF plate = keysBounds.adjusted(-8, -8, 8, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(plate, QColor(0x08, 0x09, 0x0b), QColor(0x12, 0x13, 0x16)));
    p.drawRoundedRect(plate, 9, 9);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 22), 1));
    p.drawRoundedRect(plate.adjusted(-0.5, -0.5, 0.5, 0.5), 9.5, 9.5);

    // Light bar along the top and the underglow along the bottom edge.
    const qreal barY = plate.top() / 2.0;
    const QRectF bar(plate.left() + 12, barY - 2, plate.width() - 24, 4);
    for (int glow = 4; glow >= 1; --glow) {
        p.setPen(Qt::NoPen);
        p.setBrush(Spectrum(bar.topLeft(), bar.topRight(), 18 * (5 - glow)));
        p.drawRoundedRect(bar.adjusted(-glow * 1.5, -glow * 1.5, glow * 1.5, glow * 1.5), 4 + glow, 4 + glow);
    }
    p.setBrush(Spectrum(bar.topLeft(), bar.topRight(), 255));
    p.drawRoundedRect(bar, 2, 2);
    const QRectF under(outer.left() + 40, outer.bottom() - 7, outer.width() - 80, 2);
    p.setBrush(Spectrum(under.topLeft(), under.topRight(), 150));
    p.drawRoundedRect(under, 1, 1);

    // Lock indicators sit in the free corner of the top key row, above the keypad.
    qreal topRowRight = keysBounds.left();
    qreal topRowBottom = keysBounds.top();
    for (const CoordKey& key : m_keys)
        if (key.top == keysBounds.top()) {
            topRowRight = std::max<qreal>(topRowRight, key.right);
            topRowBottom = std::max<qreal>(topRowBottom, key.bottom);
        }
    const QRectF corner(topRowRight + 20, keysBounds.top(), keysBounds.right() - topRowRight - 20, topRowBottom - keysBounds.top());
    if (corner.width() >= 90) {
        p.setFont(LegendFont(6.5, true));
        const char* labels[] = {"NUM", "CAPS", "SCROLL"};
        for (int i = 0; i < 3; ++i) {
            const QPointF centre(corner.left() + corner.width() * (2 * i + 1) / 6.0, corner.top() + corner.height() * 0.38);
            QRadialGradient led(centre, 3.5);
            led.setColorAt(0, QColor(0x3c, 0x6e, 0x48));
            led.setColorAt(1, QColor(0x12, 0x26, 0x17));
            p.setPen(QPen(QColor(0, 0, 0, 200), 0.8));
            p.setBrush(led);
            p.drawEllipse(centre, 3.2, 3.2);
            p.setPen(QColor(0x80, 0x86, 0x90));
            p.drawText(QRectF(centre.x() - 30, centre.y() + 5, 60, 10), Qt::AlignCenter, QString::fromLatin1(labels[i]));
        }
    }
}

void KeyboardArt::DrawCap(QPainter& p, const CoordKey& key, Layer layer) const {
    const CapColors c = ColorsFor(layer);
    const QRectF r = RectOf(key);
    const bool pressed = layer == Layer::Pressed;
    p.setPen(QPen(QColor(0x06, 0x06, 0x08), 1));
    p.setBrush(Vertical(r, c.skirtTop, c.skirtBottom));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4.5, 4.5);

    // The face: dished top, set higher than the skirt so the cap reads as three-dimensional.
    const QRectF face = pressed ? r.adjusted(3.5, 4.5, -3.5, -3) : r.adjusted(3.5, 2, -3.5, -5.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(face, c.faceTop, c.faceBottom));
    p.drawRoundedRect(face, 3, 3);
    p.setPen(QPen(QColor(255, 255, 255, pressed ? 14 : 34), 0.8));
    p.drawLine(QPointF(face.left() + 2.5, face.top() + 0.6), QPointF(face.right() - 2.5, face.top() + 0.6));

    if (c.rim.alpha() > 0) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c.rim, 1.4));
        p.drawRoundedRect(r.adjusted(0.9, 0.9, -0.9, -0.9), 4.2, 4.2);
    }
    CutLegend(p, face, KeyLegend::ForKey(key.id, QString::fromStdString(key.name)));
}

void KeyboardArt::CutLegend(QPainter& p, const QRectF& face, const KeyLegend& legend) {
    using S = KeyLegend::Style;
    if (legend.style == S::None) return;
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    p.setPen(Qt::black);
    const QRectF text = face.adjusted(2, 1, -2, -1);
    switch (legend.style) {
        case S::Letter:
            p.setFont(LegendFont(13, true));
            p.drawText(text, Qt::AlignCenter, legend.main);
            break;
        case S::Glyph:
            p.setFont(LegendFont(15, true));
            p.drawText(text, Qt::AlignCenter, legend.main);
            break;
        case S::Dual: {
            p.setFont(LegendFont(10.5, true));
            const QRectF upper(text.left(), text.top(), text.width(), text.height() / 2);
            const QRectF lower(text.left(), text.center().y(), text.width(), text.height() / 2);
            p.drawText(upper, Qt::AlignCenter, legend.secondary);
            p.drawText(lower, Qt::AlignCenter, legend.main);
            break;
        }
        case S::Keypad: {
            p.setFont(LegendFont(12.5, true));
            const QRectF upper(text.left(), text.top(), text.width(), text.height() * 0.62);
            p.drawText(upper, Qt::AlignCenter, legend.main);
            p.setFont(LegendFont(6.5, true));
            const QRectF lower(text.left(), upper.bottom() - 1, text.width(), text.height() * 0.38);
            p.drawText(lower, Qt::AlignCenter, legend.secondary);
            break;
        }
        case S::Function:
            p.setFont(LegendFont(10, true));
            p.drawText(text, Qt::AlignCenter, legend.main);
            break;
        case S::Word:
        case S::None:
            p.setFont(LegendFont(8, true));
            p.drawText(text, Qt::AlignCenter | Qt::TextWordWrap, legend.main);
            break;
    }
    p.restore();
}
