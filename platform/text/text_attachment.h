// An attachment carried by the object-replacement character U+FFFC: a file's name and bytes.
//
// The bytes are kept as they came (usually an image file); decoding them into an image is
// left to whoever draws the attachment, so that reading and writing RTFD never loses data.
#pragma once

#include <QByteArray>
#include <QString>

struct TextAttachment {
    QString fileName;
    QByteArray contents;

    friend bool operator==(const TextAttachment &a, const TextAttachment &b)
    {
        return a.fileName == b.fileName && a.contents == b.contents;
    }
};

inline constexpr char16_t AttachmentCharacter = u'\uFFFC';

class QImage;

// The attachment's contents as an image (null when they are not one), and its size in
// points: one point per pixel, as files seldom say their resolution reliably.
QImage attachmentImage(const TextAttachment &attachment);
struct Size;
Size attachmentSize(const TextAttachment &attachment);
