// The graphics context: the "current context" drawing code draws into, over a QPainter.
//
// A context paints on a QImage, a widget, a QPdfWriter, a QPrinter or any other paint
// device (the recording device of the tests). It keeps the state the drawing code expects
// beside the painter's own: fill and stroke colours as colour values (device-CMYK colours
// stay CMYK), a drop shadow, the compositing operation, image interpolation, antialiasing
// and font smoothing, all saved and restored together with the painter's clip and transform.
//
// Coordinates are the device's (y grows downwards) under the transforms concatenated so far.
// Shadows follow the platform: the offset is in device units with y growing *upwards* (a
// shadow with offset height -5 falls 5 units below the object), unaffected by the current
// transform, and the blur radius is twice the standard deviation of the Gaussian. Device
// units are pixels on screen and in images and points in PDF and print.
//
// Shadows and transparency layers are emulated, because Qt has neither: a shadowed shape is
// painted once more into an off-screen mask covering only its area, the mask is blurred and
// tinted with the shadow colour and drawn at the offset, and then the shape is painted. A
// transparency layer records its drawing as a picture together with the area it covers; at
// its end it composes as one piece, with the shadow that was set when it began: on screen
// and in images as pixels of only that area, in PDF and print by replaying the picture so
// that vectors stay vectors. Only drawing done through the context's own functions counts
// towards a layer's area. For PDF and print shadow masks are rasterised at 150 dpi at most.
//
// The current context is a stack per thread (tiles of one drawing render on several threads,
// each into its own context): make a context current with GraphicsContext::Scope for the
// time drawing code runs. A context itself is used by one thread at a time.
#pragma once

#include "platform/color/color.h"
#include "platform/geometry/affine_transform.h"
#include "platform/geometry/bezier_path.h"
#include "platform/graphics/compositing.h"

#include <QImage>
#include <QPainter>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CmykStandIns;
class PdfDocument;
class PdfPageMarkers;
class QGlyphRun;
class QPaintDevice;

// Image interpolation levels with their stored numbers.
enum class ImageInterpolation { Default = 0, None = 1, Low = 2, High = 3, Medium = 4 };

struct Shadow {
    float offsetWidth = 0;   // device units, rightwards
    float offsetHeight = 0;  // device units, upwards
    float blurRadius = 0;    // device units
    Color color = Color::blackColor().colorWithAlphaComponent(1.0f / 3.0f);

    friend bool operator==(const Shadow &a, const Shadow &b)
    {
        return a.offsetWidth == b.offsetWidth && a.offsetHeight == b.offsetHeight && a.blurRadius == b.blurRadius
            && a.color == b.color;
    }
};

class GraphicsContext {
public:
    // Window: a widget on screen; Bitmap: an image; PDF and Printer: paged vector output.
    enum class Output { Window, Bitmap, PDF, Printer };

    // Begins painting on the device (the context owns the painter). When the device cannot
    // be painted on (a null image, an unwritable PDF file) the context draws nothing.
    GraphicsContext(QPaintDevice *device, Output output);
    // Paints on an image.
    explicit GraphicsContext(QImage &image);
    // Paints through a painter that is already active (a widget's paint event).
    GraphicsContext(QPainter *painter, Output output);
    ~GraphicsContext();
    GraphicsContext(const GraphicsContext &) = delete;
    GraphicsContext &operator=(const GraphicsContext &) = delete;

    // The innermost current context, or null.
    static GraphicsContext *current();
    // Makes a context current for its lifetime; scopes nest.
    class Scope {
    public:
        explicit Scope(GraphicsContext &context);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;
    };

    Output output() const { return m_output; }
    // Screen and images count as screen; PDF and print do not.
    bool isDrawingToScreen() const { return m_output == Output::Window || m_output == Output::Bitmap; }
    // The painter drawing goes to now (a transparency layer's while one is open).
    QPainter *painter() const;
    // Starts a new page on paged devices (PDF, printer); false elsewhere.
    bool newPage();

    // Graphics state: colours, shadow, compositing, flags, clip and transform.
    void saveGraphicsState();
    // Does nothing when there is no saved state (at the context's or the layer's base).
    void restoreGraphicsState();

    // Clipping, in the path's winding rule. addClip intersects the current clip; setClip
    // replaces it (the path's area becomes the clip).
    void addClip(const BezierPath &path);
    void setClip(const BezierPath &path);
    void clipRect(const Rect &rect);

    // The transform from user space to the device; concat applies `t` before it.
    void concat(const AffineTransform &t);
    AffineTransform currentTransform() const;
    void setCurrentTransform(const AffineTransform &t);

    void setFillColor(const Color &color);
    void setStrokeColor(const Color &color);
    const Color &fillColor() const { return state().fill; }
    const Color &strokeColor() const { return state().stroke; }

    // Painting with the current colours, shadow and compositing operation.
    void fillPath(const BezierPath &path);
    // Strokes with the path's own line width, cap, join, miter limit and dash.
    void strokePath(const BezierPath &path);
    // fillPath then strokePath of the same path; vector output without a shadow or an open
    // layer gets them as one painting (one "B" in PDF) with the same result.
    void fillAndStrokePath(const BezierPath &path);
    void fillRect(const Rect &rect);
    void fillRectUsingOperation(const Rect &rect, CompositingOperation op);
    // Fills a Qt path (user space) with a brush of its own, e.g. a gradient.
    void fillPathWithBrush(const QPainterPath &path, const QBrush &brush);
    // Draws glyphs as text, placed by `placement` (applied before the current transform)
    // and coloured by `brush`. PDF and print keep them as text, with the font embedded
    // when the run's font comes from a file; inside transparency layers they stay text.
    void drawGlyphRun(const QGlyphRun &run, const QTransform &placement, const QBrush &brush);
    // The clip's bounds in user space (the device's bounds when nothing clips).
    QRectF clipBounds() const;
    // Draws the `source` part of the image (in pixels; an empty rect means all of it) into
    // `target` (user space) with the operation at the opacity `fraction`. The image's top
    // row goes to the target's minimum y.
    void drawImage(const QImage &image, const Rect &target, const Rect &source, CompositingOperation op,
                   float fraction);

    void setShadow(const Shadow &shadow);
    void clearShadow();
    const std::optional<Shadow> &shadow() const { return state().shadow; }

    // Drawing between begin and end is composed as one piece (see the top of the file).
    // Inside a layer there is no shadow; end without a begin does nothing.
    void beginTransparencyLayer();
    void endTransparencyLayer();

    void setCompositingOperation(CompositingOperation op);
    CompositingOperation compositingOperation() const { return state().op; }
    void setImageInterpolation(ImageInterpolation level);
    ImageInterpolation imageInterpolation() const { return state().interpolation; }
    void setShouldAntialias(bool on);
    bool shouldAntialias() const { return state().antialias; }
    void setShouldSmoothFonts(bool on);
    bool shouldSmoothFonts() const { return state().smoothFonts; }

    // With a stand-in table, CMYK colours paint as their stand-ins and the table records
    // them (see cmyk_stand_ins.h); without one they paint as their RGB conversion.
    void setCMYKStandIns(std::shared_ptr<CmykStandIns> table);
    const std::shared_ptr<CmykStandIns> &cmykStandIns() const { return m_standIns; }
    // With a marker table, PDF output draws PDF pages as marked rectangles that the pass
    // over the written file turns into the pages themselves (see pdf_page_markers.h).
    void setPdfPageMarkers(std::shared_ptr<PdfPageMarkers> table);
    // Draws page `page` (from 0) of a PDF document into `target` as a marked rectangle, at the
    // opacity `fraction`. False, drawing nothing, when this output does not keep PDF pages.
    bool placePdfPage(const std::shared_ptr<const PdfDocument> &document, int page, const Rect &target,
                      float fraction);
    // The brush a colour paints with in this context.
    QBrush brushFor(const Color &color) const;

private:
    struct State {
        Color fill = Color::blackColor();
        Color stroke = Color::blackColor();
        std::optional<Shadow> shadow;
        CompositingOperation op = CompositingOperation::SourceOver;
        ImageInterpolation interpolation = ImageInterpolation::Default;
        bool antialias = true;
        bool smoothFonts = true;
    };
    struct Layer;

    const State &state() const { return m_states.back(); }
    State &state() { return m_states.back(); }
    void applyFlags();
    // Paints through `draw`, first its shadow when one is set. `bounds` is what `draw`
    // covers in the painter's device coordinates.
    void paint(const std::function<void(QPainter &)> &draw, const QRectF &bounds);
    void paintShadowOf(const std::function<void(QPainter &)> &draw, const QRectF &bounds, const Shadow &shadow);
    // Device units per point (1 on screen and in images).
    qreal baseScale() const;
    QRectF deviceRect() const;

    Output m_output;
    QPaintDevice *m_device = nullptr;
    std::unique_ptr<QPainter> m_ownPainter;
    QPainter *m_painter = nullptr;
    std::vector<State> m_states;
    std::vector<std::unique_ptr<Layer>> m_layers;
    std::shared_ptr<CmykStandIns> m_standIns;
    std::shared_ptr<PdfPageMarkers> m_pdfPageMarkers;
};

// Saves the current context's graphics state and restores it when it goes out of scope.
class GraphicsStateSaver {
public:
    explicit GraphicsStateSaver(GraphicsContext &context) : m_context(context) { m_context.saveGraphicsState(); }
    ~GraphicsStateSaver() { m_context.restoreGraphicsState(); }
    GraphicsStateSaver(const GraphicsStateSaver &) = delete;
    GraphicsStateSaver &operator=(const GraphicsStateSaver &) = delete;

private:
    GraphicsContext &m_context;
};
