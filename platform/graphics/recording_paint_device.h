// A paint device that records what is drawn on it instead of making pixels: transparency
// layers record their drawing on it and replay it at their end, and tests read it.
//
// Every path, polygon, image and text item that reaches the device is kept as one
// RecordedDraw with the painter's state at that moment: pen, brush, transform, the clip in
// device coordinates, composition mode, opacity and render hints. Shapes are recorded in
// device coordinates (the transform already applied) and also in the coordinates they were
// drawn in. The device is 72 dpi, so one device unit is one point.
//
//     RecordingPaintDevice device(QSize(200, 100));
//     {
//         GraphicsContext context(&device, GraphicsContext::Output::Bitmap);
//         context.fillPath(path);
//     }
//     ASSERT_EQ(device.draws().size(), 1u);
//     EXPECT_EQ(device.draws()[0].brush.color(), Qt::red);
//
// Text needs a QGuiApplication, as all text drawing does.
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <memory>
#include <vector>

struct RecordedDraw {
    enum class Kind { Path, Image, Text };
    Kind kind = Kind::Path;

    QPainterPath path;        // Path: as drawn, in the painter's coordinates; glyph run: its outlines
    QPainterPath devicePath;  // Path and glyph run: in device coordinates
    QImage image;             // Image: the image (pixmaps are converted)
    QRectF target;            // Image: target rect in the painter's coordinates; Text: none
    QRectF source;            // Image: the part of the image drawn
    QString text;             // Text
    QPointF position;         // Text: baseline origin in the painter's coordinates
    QFont font;               // Text
    QGlyphRun glyphs;         // Text drawn as a glyph run (then `text` is empty)
    QString characters;       // Glyph run: the characters it shows, when the drawing code told
                              // them through a GlyphRunCharacters (empty otherwise)
    QString link;             // Glyph run: the link target of its characters, told the same way

    QPen pen;                 // Qt::NoPen for a fill
    QBrush brush;             // Qt::NoBrush for a stroke
    QTransform transform;
    bool clipped = false;
    QPainterPath clip;        // device coordinates, when clipped
    QPainter::CompositionMode composition = QPainter::CompositionMode_SourceOver;
    qreal opacity = 1.0;
    QPainter::RenderHints hints;

    bool isFill() const { return kind == Kind::Path && brush.style() != Qt::NoBrush; }
    bool isStroke() const { return kind == Kind::Path && pen.style() != Qt::NoPen; }
};

// Tells a recording device the characters of the glyph runs drawn during the scope's
// lifetime and the link they carry (text drawing knows them; a glyph run alone does not), so
// that outputs made from the recording can keep text as text. One per thread, the innermost
// counts.
class GlyphRunCharacters {
public:
    explicit GlyphRunCharacters(const QString &characters, const QString &link = QString());
    ~GlyphRunCharacters();
    GlyphRunCharacters(const GlyphRunCharacters &) = delete;
    GlyphRunCharacters &operator=(const GlyphRunCharacters &) = delete;
    // The innermost scope, or null.
    static const GlyphRunCharacters *current();
    const QString &characters() const { return m_characters; }
    const QString &link() const { return m_link; }

private:
    QString m_characters;
    QString m_link;
    const GlyphRunCharacters *m_outer;
};

class RecordingPaintDevice : public QPaintDevice {
public:
    explicit RecordingPaintDevice(QSize size);
    ~RecordingPaintDevice() override;

    const std::vector<RecordedDraw> &draws() const;
    void clear();
    // Draws what was recorded onto the painter, taking the painter's present coordinates as
    // the recording's device coordinates: paths, images and text stay what they were (vector
    // output stays vectors, text stays text), with their pens, brushes, transforms, clips,
    // composition, opacity and hints, at whatever resolution the painter's device has.
    void replay(QPainter &painter) const;

    QPaintEngine *paintEngine() const override;

    // Draws a glyph run on any painter. On a recording device the run itself is kept (a
    // paint engine only sees a text item without its glyphs), so that the replay draws
    // the same glyphs in the same font.
    static void drawGlyphRun(QPainter &painter, const QGlyphRun &run);

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    std::unique_ptr<class RecordingPaintEngine> m_engine;
};
