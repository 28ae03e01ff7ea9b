// Archive coders of attributed strings and their attribute values, for the typedstream
// archiver (platform/foundation/archiver.h).
//
// The layouts are our own (class version 1), because the platform's layouts of its text
// classes could not all be checked against real archives; the platform's NSFont and
// NSAttributedString are read as far as their layouts are known (platform_text_coders.h).
//   VekFont            "@" PostScript name, "f" size
//   VekParagraphStyle  "i" alignment, "[Nf]" first-line head indent, head indent, tail
//                      indent, line spacing, paragraph spacing after and before, minimum and
//                      maximum line height, line height multiple, default tab interval,
//                      hyphenation factor; "[Nf]" tab stops as pairs of kind and location
//   VekTextAttachment  "@" file name, "i" length and "[Nc]" the file's bytes
//   VekTextAttributes  "i" the mask of attributes present (bit k for attribute k in the
//                      order of TextAttribute), then each present one in that order:
//                      objects ("@": font, colours, link and anchor strings, attachment,
//                      paragraph style), "i" underline and strikethrough styles, "f" the
//                      other numbers
//   VekAttributedString "@" the string, "i" the number of runs, then per run "i" its
//                      length and "@" its VekTextAttributes
// Decoded values are held in the std::any as Font, ParagraphStyle, TextAttachment,
// TextAttributes and AttributedString.
#pragma once

class ArchiveCoderRegistry;

// Adds the text coders; call once at start-up, before text is archived or unarchived.
void registerTextCoders(ArchiveCoderRegistry &registry);
