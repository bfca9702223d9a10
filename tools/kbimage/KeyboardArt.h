#pragma once
#include <QImage>
#include <QRectF>
#include <QSize>
#include <vector>

#include "app/CoordKey.h"

class QPainter;
struct KeyLegend;

// Draws the keyboard picture's images from the keys of a coordinate file. Every image has the
// picture's logical size times the scale; the overlays are transparent outside the key
// rectangles, since the picture copies them key by key. Legends are cut out of the caps so that
// the picture's key colours shine through them like backlighting.
class KeyboardArt {
public:
    enum class Layer { Normal, Floating, Checked, Pressed };
    static constexpr Layer kLayers[] = {Layer::Normal, Layer::Floating, Layer::Checked, Layer::Pressed};

    KeyboardArt(std::vector<CoordKey> keys, QSize logicalSize, int scale);

    QImage Render(Layer layer) const;
    static const char* FileName(Layer layer);

private:
    void DrawCase(QPainter& p) const;
    void DrawCap(QPainter& p, const CoordKey& key, Layer layer) const;
    static void CutLegend(QPainter& p, const QRectF& face, const KeyLegend& legend);

    std::vector<CoordKey> m_keys;
    QSize m_size;
    int m_scale;
};
