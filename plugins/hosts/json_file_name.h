// A file name as a JSON string that gives back the name's exact bytes, also when the name
// is not valid UTF-8: each byte that is not part of a UTF-8 character is written as the
// escape \udcXX (XX its value), the convention of Python's "surrogateescape", so that
// os.fsencode(json.loads(line)["file"]) is the name again.
#pragma once

#include <QByteArray>

QByteArray jsonStringOfFileName(const QByteArray &name);
