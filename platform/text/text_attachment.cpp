// Decoding attachments as images, with a small cache since layout and drawing ask often.
#include "platform/text/text_attachment.h"

#include "platform/geometry/geometry.h"

#include <QCache>
#include <QImage>
#include <QMutex>

QImage attachmentImage(const TextAttachment &attachment)
{
    static QMutex mutex;
    static QCache<QByteArray, QImage> cache(64);
    if (attachment.contents.isEmpty())
        return QImage();
    QMutexLocker lock(&mutex);
    if (QImage *image = cache.object(attachment.contents))
        return *image;
    QImage image = QImage::fromData(attachment.contents);
    cache.insert(attachment.contents, new QImage(image));
    return image;
}

Size attachmentSize(const TextAttachment &attachment)
{
    QImage image = attachmentImage(attachment);
    return image.isNull() ? Size{} : Size{float(image.width()), float(image.height())};
}
