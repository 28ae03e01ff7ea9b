// The memo panel and its text in the user defaults.
#include "app/memo_panel.h"

#include "app/memo_text.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/user_defaults.h"
#include "platform/text/rtf.h"

#include <QMimeData>
#include <QTextEdit>
#include <QTextImageFormat>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString MemoKey = QStringLiteral("memo");

// The memo's editor also takes pictures pasted or dropped into it.
class MemoTextView : public QTextEdit {
public:
    using QTextEdit::QTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override
    {
        return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
    }
    void insertFromMimeData(const QMimeData *source) override
    {
        if (!source->hasImage()) {
            QTextEdit::insertFromMimeData(source);
            return;
        }
        const QImage image = qvariant_cast<QImage>(source->imageData());
        const QUrl name(QStringLiteral("pasted:%1/picture%1.png").arg(++m_pictures));
        document()->addResource(QTextDocument::ImageResource, name, image);
        QTextImageFormat picture;
        picture.setName(name.toString());
        textCursor().insertImage(picture);
    }

private:
    int m_pictures = 0;
};

} // namespace

VekMemoController::VekMemoController(UserDefaults &defaults, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_defaults(defaults)
{
    setObjectName(QStringLiteral("MemoPanel"));
    setWindowTitle(localizedString(QStringLiteral("Memo")));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_textView = new MemoTextView(this);
    m_textView->setAcceptRichText(true);
    layout->addWidget(m_textView);
    resize(300, 240);
    setFocusProxy(m_textView);
    if (const auto memo = attributedStringWithRTFD(m_defaults.objectForKey(MemoKey).dataValue()))
        setDocumentText(*m_textView->document(), *memo);
}

void VekMemoController::saveMemoToUserPreferences()
{
    const AttributedString text = attributedStringOfDocument(*m_textView->document());
    if (text.isEmpty())
        return;
    const QByteArray rtfd = RTFDFromRange(text, TextRange{0, text.length()});
    if (rtfd.isEmpty())
        m_defaults.removeObjectForKey(MemoKey);
    else
        m_defaults.setObject(PropertyList::fromData(rtfd), MemoKey);
    m_defaults.synchronize();
}
