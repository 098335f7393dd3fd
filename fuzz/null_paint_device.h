#pragma once

#include <QPaintDevice>
#include <QPaintEngine>

// An A4 page at 300 dpi that keeps nothing of what is painted on it. The
// painting code runs in full (fonts, metrics, text layout, every band and
// field), but no page is recorded or rasterised: fast enough to fuzz.
class NullPaintEngine : public QPaintEngine {
public:
    NullPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawRects(const QRectF *, int) override {}
    void drawLines(const QLineF *, int) override {}
    void drawEllipse(const QRectF &) override {}
    void drawPath(const QPainterPath &) override {}
    void drawPoints(const QPointF *, int) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawImage(const QRectF &, const QImage &, const QRectF &, Qt::ImageConversionFlags) override {}
    void drawTextItem(const QPointF &, const QTextItem &) override {}
    Type type() const override { return QPaintEngine::User; }
};

class NullPaintDevice : public QPaintDevice {
public:
    QPaintEngine *paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return 2480;
        case PdmHeight:
            return 3508;
        case PdmWidthMM:
            return 210;
        case PdmHeightMM:
            return 297;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 300;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    mutable NullPaintEngine engine_;
};
