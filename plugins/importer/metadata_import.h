// What the metadata importer takes from a document file: the "metainfo" entries of its
// root dictionary, in either stored form.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

struct DocumentMetadata {
    std::optional<QString> author, title, subject, copyright;
    std::optional<QStringList> keywords;   // split at every ",", blanks kept
};

// The entries of the file's bytes; all absent when the file is neither stored form or has
// no "metainfo". Entries that are not strings are left out.
DocumentMetadata documentMetadataFromData(const QByteArray &data);
