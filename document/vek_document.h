// VekDocument: one open document: its drawing objects in stacking order, its group tree,
// its pages, settings, metadata and common shadow, its undo manager, and its file format.
//
// It lives in the model library (no widgets), so that the preview plug-in can read a file
// into one. The window and the canvas attach themselves later (setVekView); until then the
// document has no window and redraws nothing. Its members are spread over files by job:
// state and settings (vek_document.cpp), the object list (vek_document_objects.cpp), the
// group tree (vek_document_groups.cpp), pages (vek_document_pages.cpp) and the file format
// (vek_document_file_format.cpp, document_data.cpp).
#pragma once

#include "document/print_info.h"
#include "document/recent_entries_keeper.h"
#include "model/services/document_services.h"
#include "platform/foundation/undo_manager.h"
#include "platform/image/image.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class PdfDocument;
class VekObject;
class VekObjText;
struct SvgImportPropertyList;

// The error domain and code of a document that cannot be read.
inline const QString VekantoErrorDomain = QStringLiteral("VekantoErrorDomain");
constexpr int DocumentUnreadableErrorCode = 1;

// The bounds of reading a document's objects, so that no file makes opening it take unbounded
// time or memory: an archive refers back to an object it holds in two or three bytes, and
// every reference is read as an object of its own. `objects` bounds how many are made;
// `objectBytes` the bytes of their dictionaries all together (strings, data and an
// allowance for every value), each reference counted as the whole value it repeats.
struct DocumentReadingLimits {
    qsizetype objects = 150000;
    qint64 objectBytes = qint64(128) << 20;
};

struct DocumentError {
    QString domain;
    int code = 0;
    QString description;
};

// A drawing object and the identifier of its group when the pair was made ("" for none).
struct GroupMembership {
    std::shared_ptr<VekObject> object;
    QString groupID;
};

class VekDocument : public DocumentServices {
public:
    // A new, empty document: one page, link colour blue and underlined, anti-aliasing on,
    // preview option 1, a clear background and the shadow defaults of the shadow panel.
    VekDocument();
    ~VekDocument() override;
    VekDocument(const VekDocument &) = delete;
    VekDocument &operator=(const VekDocument &) = delete;

    static constexpr const char *CurrentVersion = "1.5.1";

    // ---- The canvas (the window attaches it; null without a window) ----

    CanvasServices *vekView() override { return _vekView; }
    void setVekView(CanvasServices *view) { _vekView = view; }
    bool hasWindow() const override { return _vekView && _hasWindow; }
    void setHasWindow(bool flag) { _hasWindow = flag; }
    // The edited state follows the undo history; setters that register no undo mark it.
    bool isDocumentEdited() const;
    void updateChangeCount();
    // After a save: the present state is the clean one.
    void documentWasSaved();

    // ---- Settings (no undo, no notification) ----

    UndoManager *undoManager() override { return &_undo; }
    int resolution() const { return _resolution; }
    int documentRotation() const { return _docRotation; }
    int addBorder() const { return _addBorder; }
    QString documentVersion() const override { return _documentVersion; }
    QString author() const { return _author.value_or(QString()); }
    QString copyright() const { return _copyright.value_or(QString()); }
    QString title() const { return _title.value_or(QString()); }
    QString subject() const { return _subject.value_or(QString()); }
    QString keywords() const { return _keywords.value_or(QString()); }
    void setAuthor(const std::optional<QString> &author) { setMetadata(_author, author); }
    void setCopyright(const std::optional<QString> &copyright) { setMetadata(_copyright, copyright); }
    void setTitle(const std::optional<QString> &title) { setMetadata(_title, title); }
    void setSubject(const std::optional<QString> &subject) { setMetadata(_subject, subject); }
    void setKeywords(const std::optional<QString> &keywords) { setMetadata(_keywords, keywords); }
    // The document attributes of the text system, or absent when no metadata is set.
    PropertyList documentMetaData() const;
    // The search-index attributes, or absent when no metadata is set.
    PropertyList metadataForSpotlight() const;

    // With `fromDocument` (the reader applying stored values) nothing is redrawn or marked.
    void setAntialiasDraw(int flag, bool fromDocument = false);
    void setSmoothFonts(int flag, bool fromDocument = false);
    void setUseCMYK(int flag, bool fromDocument = false);
    void setLinkTextULine(int flag, bool fromDocument = false);
    // No colour changes nothing.
    void setLinkTextColor(const std::optional<Color> &color, bool fromDocument = false);
    // Always marks the document edited; redraws unless it comes from the document.
    void setBackgroundColor(const std::optional<Color> &color, bool fromDocument = false);
    void setQLOption(int option, int dataT, int dataP, bool fromDocument = false);
    bool useCMYK() const override { return _useCMYK != 0; }
    bool smoothFonts() const override { return _smoothFonts != 0; }
    bool antialiasDraw() const override { return _antialiasDraw != 0; }
    int linkTextULine() const override { return _linkTextULine; }
    // In CMYK form when the document uses CMYK; the stored colour stays as it is.
    Color linkTextColor() const override;
    Color storedLinkTextColor() const { return _linkTextColor; }
    Color backgroundColor() const { return _bgColor; }
    int qlOption() const { return _qlOption; }
    int qlOptDataT() const { return _qlOptDataT; }
    int qlOptDataP() const { return _qlOptDataP; }
    const QString &lastWindowFrame() const { return _lastWinFrame; }
    void setLastWindowFrame(const QString &frame) { _lastWinFrame = frame; }
    int lastCurrentPage() const { return _lastCnrtPg; }
    bool readFromDataInvoked() const { return _readFromDataInvoked; }
    // What reading the document left out (objects past the reader's bounds), in words for
    // the user; empty when everything was read.
    const QStringList &readingNotes() const { return _readingNotes; }

    // ---- The common shadow ----

    bool shadowState() const override { return _shwState != 0; }
    float shadowOffset() const { return _shwOffset; }
    float shadowAngle() const { return _shwAngle; }
    float shadowBlur() const override { return _shwBlur; }
    // The default shadow colour when none is set.
    Color shadowColor();
    void setShadowState(int state);
    void setShadowOffset(float offset);
    void setShadowAngle(float angle);
    void setShadowBlur(float blur);
    // Stored in calibrated RGB.
    void setShadowColor(const Color &color);
    void setShadowAlpha(float alpha);
    // "color" (archived data; the default shadow colour when missing or unreadable), and
    // "offset", "angle", "blur" (0 when missing); the state stays.
    void setShadowValues(const PropertyList &values);
    PropertyList documentShadowValues() const override;
    Size shadowOffsetSize() const override;
    Size shadowOffsetFor(float side) const override;

    // ---- Header and footer settings, as the file stores them ----

    // On or off; a change marks the document edited.
    void setAddBorder(int flag);
    // The cells as stored (absent until first requested or read): strings, numbers, and
    // rich text as flat RTFD data.
    const PropertyList &borderInfo() const { return _borderinfo; }
    void setBorderInfo(const PropertyList &info) { _borderinfo = info; }

    // ---- The object list (index 0 front-most) ----

    const std::vector<std::shared_ptr<VekObject>> &objects() const override { return _objects; }
    void insertObject(const std::shared_ptr<VekObject> &object, int index, bool ignoreGroup) override;
    void removeObjectAtIndex(int index, bool ignoreGroup);
    void removeObject(const std::shared_ptr<VekObject> &object);
    // `target` counts places before the move: the object lands in front of the one now there.
    void moveObject(const std::shared_ptr<VekObject> &object, int target);
    // Replaces the list through removals and insertions (group-aware, each undoable).
    void setObjects(const std::vector<std::shared_ptr<VekObject>> &objects);
    // The same objects in another order, one undo step "Sort". Objects that are not in the
    // list, or a list that misses some of them, change nothing.
    void setObjectsAsItIs(const std::vector<std::shared_ptr<VekObject>> &objects);
    int indexOfObject(const VekObject *object) const override;
    // Objects changing together (DocumentServices::collectsChanges): from the first begin to
    // the matching end the objects' changes are collected; the end redraws them at once and
    // posts VekObjectsDidChangeNotification. Every undo and redo collects its changes so too.
    void beginChangeBatch();
    void endChangeBatch();
    bool collectsChanges() const override { return _changeBatchDepth > 0; }
    void collectChange(const VekObject &object) override;
    bool changedTogether(const VekObject *object) const override { return _changedTogether.count(object) > 0; }
    // Goes up by one with every change of the list (insertion, removal, move, reordering), so
    // that what is built over the list (the canvas's spatial index) sees when to catch up.
    quint64 objectListGeneration() const { return _objectListGeneration; }
    void invalidateObject(const VekObject &object) override;
    void vekViewNeedsDisplayInRect(const Rect &r) override;
    // The objects drawn on the page within the rectangle, in list order.
    std::vector<std::shared_ptr<VekObject>> objectsOnPage(int page, const Rect &rect) const;
    // 0 for a repeating object (every page), the first listed page its bounds meet, or -1.
    int objectIsIncludedIn(const VekObject *object, const std::vector<int> &pages) const;
    Rect drawingBoundsForObjects(const std::vector<std::shared_ptr<VekObject>> &objects) const;
    static Rect boundsForObjects(const std::vector<std::shared_ptr<VekObject>> &objects);

    // ---- Groups ----

    QMap<QString, std::shared_ptr<VekGroup>> groups() const override { return _groups; }
    std::shared_ptr<VekGroup> groupFor(const QString &groupID) const override;
    void groupObjects(const std::vector<std::shared_ptr<VekObject>> &objects);
    void ungroupObjects(const std::vector<std::shared_ptr<VekObject>> &objects);
    // The group and every group above it, and the whole trees' objects become ungrouped.
    void ungroupGlobally(const QString &groupID);
    void ungroupDownwards(const QString &groupID, bool looping = false);
    void ungroupLocally(const QString &groupID);
    void addMemberToGroup(const std::shared_ptr<VekObject> &object, const QString &groupID);
    void removeMemberFromGroup(const std::shared_ptr<VekObject> &object, const QString &groupID, bool needUndo);
    std::vector<std::shared_ptr<VekObject>> objectsLowerThanGroup(const QString &groupID) const;
    std::vector<std::shared_ptr<VekObject>> objectsOfGroup(const QString &groupID) const;
    // The group records by identifier ("parentID", "members", "note").
    PropertyList groupBaseDictionary() const;
    // Restores a snapshot (undoable); pairs whose object left the list are passed over.
    void resetGroups(const PropertyList &base, const std::vector<GroupMembership> &pairs);
    std::vector<GroupMembership> groupIDsOfObjects(const std::vector<std::shared_ptr<VekObject>> &objects) const;
    QStringList groupTopNodes() const;
    QStringList groupTopNodesSorted() const;
    std::vector<std::shared_ptr<VekObject>> objectsOnePerGroupOutOf(
        const std::vector<std::shared_ptr<VekObject>> &objects) const;
    QString newGrpID() const;

    // ---- Print settings ----

    // The document's own settings, made from the defaults on first request.
    const PrintInfo &printInfo();
    // Unequal top and bottom margins switch vertical centring off, unequal left and right
    // ones horizontal centring.
    void setPrintInfo(const PrintInfo &info);
    // The page-layout dialog was accepted with these settings: the document takes them, and
    // a scaling that no longer matches the resolution gives the resolution it stands for.
    void pageLayoutAccepted(const PrintInfo &info);
    // Paper of the size (points, as it lies); a name names it, none makes it a custom paper
    // that carries no name.
    void setPaperSizeTo(Size size, const QString &name = {});
    // Paper that holds the page at the print scaling with the margins, in whole points.
    void setPaperSizeToMatchCurrentPage();
    // Centres the page on the paper: each direction switched on takes equal margins of what
    // the paper leaves beside the page (none when the page is larger).
    void setPrintCenteredHAndV(bool horizontally, bool vertically);

    // ---- Header and footer settings ----

    // Made with their defaults on first request: the title left and the date right in the
    // header, "- #VPAGE -" in the middle of the footer, the date format, padding 6 and no
    // first- or last-page exception.
    const PropertyList &borderinfo();
    // Sets (or, with an absent value, removes) one entry and marks the document edited.
    void updateBorderInfoForKey(const PropertyList &value, const QString &key);

    // ---- Background image and PDF ----

    // Asked on each write of pages while the canvas hides a background the document has:
    // true to include its image and PDF data. Without a question they are included.
    void setHiddenBackgroundQuestion(std::function<bool()> askInclude) { _askIncludeHiddenBackground = std::move(askInclude); }
    const Image &backgroundImage() const { return _bgImage; }
    const QByteArray &backgroundImageData() const { return _bgImageData; }
    // An invalid image removes the background image. A valid one is taken at one point a
    // pixel and gives the document its resolution; with a zero size the paper and the
    // page take the image's size (margins 0), with another size they stay.
    void setBackgroundImage(const Image &image, const QByteArray &data, Size drawAreaSize);
    const std::shared_ptr<PdfDocument> &backgroundPDF() const { return _bgPDF; }
    // Null removes the background PDF. Otherwise paper and page take the size of its
    // pages (margins 0), the document gets one page per PDF page, showing that page, and
    // the document's empty metadata are taken from the PDF's.
    void setBackgroundPDF(const std::shared_ptr<PdfDocument> &pdf, const QByteArray &data,
                          const QString &sourcePath = QString());
    // Entry i: the PDF page (from 1) behind document page i + 1, 0 for none.
    const std::vector<int> &bgPDFpages() const { return _bgPDFpages; }
    // With update the insertion is undoable and redrawn.
    void insertBgPDFPage(int page, int index, bool update);
    void removeBgPDFPageAtIndex(int index);
    void moveBgPDFPage(int from, int to);
    int numberOfPagesOfBackgroundPDF() const;
    // Appends the pages of another PDF (or a one-page PDF of an image) to the background,
    // one undo step; false with nothing changed when it cannot be read.
    bool mergeBackgroundPDF(const QByteArray &pdfData);
    // The background as one PDF page per document page, in the order of the page list
    // (blank pages where a page shows none); empty without a background PDF.
    QByteArray backgroundPDFForPages(const std::vector<int> &pageMap) const;

    // ---- Pages ----

    int numberOfPages() const override { return _numPages; }
    void setNumberOfPages(int pages) { _numPages = std::max(1, pages); }
    // The stored page size, or the paper's when none is stored yet.
    Size drawAreaSizePerPage() override;
    // The print settings' paper less its margins, at the document's resolution.
    Size drawAreaSizePerPaper();
    // Sides below 8 are ignored.
    void setDrawAreaSizePerPage(Size size);
    // Below 72 is ignored.
    void setResolution(int resolution);
    static Size convertDefaultSizeToResolution(Size size, int resolution);
    static Size convertToDefaultSizeFromResolution(Size size, float resolution);
    // One page more at the end, as text growing past the last page asks: the background page
    // list gets an empty entry, and undo takes both back.
    void addLastPage() override;

    // ---- The file format ----

    // The document dictionary of the objects. Without pages: the clipboard form; with the
    // whole document's pages (wholeDocument): everything; with a subset of pages (1-based):
    // the objects of those pages moved up onto consecutive pages.
    PropertyList vekDocumentDictionaryForObjects(const std::vector<std::shared_ptr<VekObject>> &objects,
                                                 const std::optional<std::vector<int>> &pages,
                                                 bool wholeDocument) const;
    // The stored bytes: the text form when asked for (files only), else the archive.
    QByteArray vekDocumentDataForObjects(const std::vector<std::shared_ptr<VekObject>> &objects,
                                         const std::optional<std::vector<int>> &pages, bool wholeDocument,
                                         bool textForm) const;
    // The whole document in the archive form, or in the text form.
    QByteArray dataOfDocument(bool textForm) const;
    // Decodes either stored form; absent with the error when neither reads.
    static PropertyList vekDocumentDictionaryFromData(const QByteArray &data, DocumentError *error);
    // The objects of a document dictionary's "objects", not yet in any document; elements of
    // unknown classes are passed over. The list is read up to DocumentReadingLimits; what lies
    // beyond is left out, said in *notes (when given).
    static std::vector<std::shared_ptr<VekObject>>
    objectsFromVekDocumentDictionary(const PropertyList &dictionary, QStringList *notes = nullptr,
                                     const DocumentReadingLimits &limits = {});
    // Reads a new document's data; false with the error when it cannot be decoded.
    bool readFromData(const QByteArray &data, DocumentError *error);
    // Reads a new document from its decoded dictionary.
    void readFromDocumentDictionary(const PropertyList &dictionary);
    // Writes the file atomically: a failed write leaves the previous file intact.
    bool writeToFile(const QString &path, bool textForm, DocumentError *error) const;
    bool readFromFile(const QString &path, DocumentError *error);

    // ---- Import of the predecessor format ----

    // Fills a new document from a predecessor document's dictionary: background, page
    // size, shadow, print settings, pages and objects, window frame. Values of the wrong
    // kind are passed over; the import never fails.
    void readinQomtContents(const PropertyList &contents);

    // ---- SVG import (vek_document_svg_import.cpp) ----

    // A new untitled document holding the drawing objects of an SVG (or gzip-compressed
    // SVG) file, its page sized from the file's view box; null with the reason in *error
    // when the file cannot be read, gives no object or is beyond the import's bounds
    // (memory included). *notes (when given) receives what an import that went ahead left
    // out, in words for the user.
    static std::unique_ptr<VekDocument> documentFromSVGFile(const QString &path, QString *error,
                                                            QStringList *notes = nullptr);
    // Makes drawing objects of the import's paths and images, sizes the page from the view
    // box, shrinks the objects onto the page when they are larger and moves them onto it;
    // true when the document has objects afterwards.
    bool setsvgproperties(const SvgImportPropertyList &properties);
    // Scales every object about the centre of the bounds of all objects.
    void scaleObjectsByX(float sx, float sy);

    // ---- Anchors (vek_document_anchors.cpp) ----

    // Anchor name to the object holding it: the anchors in the text of text boxes and the
    // anchor names of other objects. Gathered afresh on each call, so that anchors made by
    // typing, pasting or undoing are never missing; a later object's name wins.
    QMap<QString, std::shared_ptr<VekObject>> anchors() const;
    // The names in order; empty when there are none.
    QStringList anchorNames() const;
    // Where the anchor lies on the canvas; the zero rectangle for an unknown name.
    Rect anchorInView(const QString &name) const override;
    // Name to the text of its rectangle on the canvas; absent when there are none.
    PropertyList anchorsInView() const;

    // ---- Find in the document's text boxes (vek_document_find.cpp) ----

    // A find panel action (text_finder.h) from a menu or the find panel: goes to the
    // canvas's editor; with nothing edited, showing the panel starts editing the front-most
    // text box first. Nothing happens without a canvas or a text box.
    void performFindPanelAction(int action);
    // The search found nothing further in the text of textObject: it goes on in the nearest
    // text box behind it (in front of it for the previous-match action), without wrapping.
    void continueFindAfter(const VekObject &textObject, int senderTag) override;

    // ---- The toolbar's recent colours, fonts and sizes ----

    // Applied values go to the keeper (the window's toolbar; not owned, null without one).
    void setRecentEntriesKeeper(RecentEntriesKeeper *keeper) { _recentEntries = keeper; }
    void updateMyColorWith(const Color &color) override;
    void updateMyFontWith(const QString &fontName) override;
    void updateMySizeWith(float size) override;

private:
    // ungroupDownwards over the groups not yet being dissolved.
    void dissolveDownwards(const QString &groupID, bool looping, QSet<QString> &dissolving);
    // Sets the page count as one undoable change, the canvas following.
    void setPageCountUndoably(int count);
    // What merging into the background changes, for its undo step.
    struct BackgroundState {
        Image image;
        QByteArray imageData;
        std::shared_ptr<PdfDocument> pdf;
        QByteArray data;
        std::vector<int> pages;
        int numPages;
        int rotation;
        std::optional<PrintInfo> printInfo;
        Size drawAreaSize;
    };
    BackgroundState backgroundState() const;
    void restoreBackground(const BackgroundState &state);
    void setShadowValuesFromDefaults();
    void setMetadata(std::optional<QString> &field, const std::optional<QString> &value);
    // Redraws the canvas and marks the document edited unless the change comes from the
    // document itself.
    void settingChanged(bool fromDocument);
    void shadowValueUpdated();
    // Stores a shadow value when it differs, then redraws and marks the document edited.
    template <typename T>
    void changeShadowValue(T &field, T value);
    // The group tree and the objects' groups as they are, for the undo of a change of the
    // tree. The change registers it once it is done: its undo then runs before the objects'
    // own undo steps of the change, and takes for redo the tree as the change left it.
    struct GroupSnapshot {
        PropertyList base;
        std::vector<GroupMembership> pairs;
    };
    GroupSnapshot groupSnapshot(const std::vector<std::shared_ptr<VekObject>> &objects) const;
    void registerGroupSnapshot(const GroupSnapshot &snapshot);
    void dropGroupCaches() const;
    void forgetGroup(const QString &groupID);
    // The objects of the group and the groups below it; with wholeTree also of the groups
    // above it (its whole tree). Visited groups end every walk.
    void collectObjects(const QString &groupID, bool wholeTree, QSet<QString> &visited,
                        std::vector<std::shared_ptr<VekObject>> &out) const;
    void readDocumentDictionary(const PropertyList &dictionary);
    void setQoMtBGInfo(const PropertyList &info);
    void setQoMtPrintInfo(const PropertyList &info);
    void setQoMtObjInfo(const PropertyList &info);
    void addQomtObjects(const PropertyList &entries, int page, float pageHeight);
    void breakGroupCycles();
    // The linked text box in front of a text box that joins or leaves the list while the
    // document has a window (not while undoing or redoing): its chain flows anew.
    std::shared_ptr<VekObjText> linkedTextBoxInFrontOf(const VekObject &object) const;

    UndoManager _undo;
    CanvasServices *_vekView = nullptr;   // not owned; set by the window
    bool _hasWindow = false;
    int _savedMarks = 0;                  // edits that registered no undo, since the last save

    std::vector<std::shared_ptr<VekObject>> _objects;
    quint64 _objectListGeneration = 0;
    // indexOfObject's table of the list at a generation, built once a few lookups have
    // searched the same list (main thread only).
    mutable std::unordered_map<const VekObject *, int> _objectIndex;
    mutable std::optional<quint64> _objectIndexGeneration;
    mutable quint64 _searchedGeneration = 0;
    mutable int _searchesOfList = 0;
    // The objects changed in the open batch, in the order of their first change, with the
    // areas they covered before it.
    int _changeBatchDepth = 0;
    std::vector<std::weak_ptr<const VekObject>> _batchedObjects;
    std::vector<Rect> _batchedAreas;
    std::unordered_set<const VekObject *> _changedTogether;
    QMap<QString, std::shared_ptr<VekGroup>> _groups;
    mutable std::optional<QStringList> _groupTopNodes;
    mutable std::optional<QStringList> _groupTopNodesSorted;

    QString _documentVersion = QString::fromLatin1(CurrentVersion);
    std::optional<QString> _author, _copyright, _title, _subject, _keywords;
    QString _lastWinFrame;
    Color _bgColor = Color::clearColor();
    std::optional<Color> _shwColor;
    Color _linkTextColor = Color::blueColor();
    std::optional<PrintInfo> _printInfo;
    Image _bgImage;
    std::function<bool()> _askIncludeHiddenBackground;
    QByteArray _bgImageData;
    std::shared_ptr<PdfDocument> _bgPDF;
    QByteArray _bgPDFData;   // the background PDF's own bytes
    std::vector<int> _bgPDFpages;
    Size _drawAreaSize;
    PropertyList _borderinfo;
    RecentEntriesKeeper *_recentEntries = nullptr;
    bool _readFromDataInvoked = false;
    QStringList _readingNotes;
    int _numPages = 1;
    int _shwState = 0;
    int _resolution = 72;
    int _docRotation = 0;
    int _lastCnrtPg = 1;
    int _linkTextULine = 1;
    int _smoothFonts = 0;
    int _antialiasDraw = 1;
    int _useCMYK = 0;
    int _addBorder = 0;
    int _qlOption = 1;
    int _qlOptDataT = 0;
    int _qlOptDataP = 0;
    float _shwOffset = 5.0f;
    float _shwAngle = 180.0f;
    float _shwBlur = 1.0f;
};
