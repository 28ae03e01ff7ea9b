// The root of a document file in either stored form, as the importer and the host programs
// decode it: the text form when the file starts with "{" and has more than that byte, else
// the archive.
#pragma once

#include "platform/foundation/property_list.h"

#include <QByteArray>

#include <optional>

// The root dictionary; absent when the bytes decode to none (damaged, cut short, or not a
// document at all).
std::optional<PropertyList> documentRootFromData(const QByteArray &data);

// Whether the bytes start as a document does (the text form's "{" or the archive's
// signature), so that a file that does but decodes to nothing can be called damaged.
bool startsLikeDocument(const QByteArray &data);
