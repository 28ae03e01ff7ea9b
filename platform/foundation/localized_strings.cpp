// localizedString: the embedded strings tables and their parser.
#include "platform/foundation/localized_strings.h"

#include <QFile>
#include <QLocale>

namespace {

class StringsTableParser {
public:
    explicit StringsTableParser(QStringView text) : m_text(text) {}

    bool parse(QHash<QString, QString> *table, QString *error)
    {
        while (skipBlanksAndComments() && m_pos < m_text.size()) {
            QString key;
            QString value;
            if (!readQuoted(&key) || !expect(u'=') || !readQuoted(&value) || !expect(u';'))
                break;
            table->insert(key, value);
        }
        if (m_error.isEmpty())
            return true;
        if (error)
            *error = QStringLiteral("line %1: %2").arg(m_text.first(m_errorPos).count(u'\n') + 1).arg(m_error);
        return false;
    }

private:
    bool fail(const QString &message)
    {
        if (m_error.isEmpty()) {
            m_error = message;
            m_errorPos = std::min(m_pos, m_text.size());
        }
        return false;
    }

    bool skipBlanksAndComments()
    {
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos];
            if (c.isSpace()) {
                ++m_pos;
            } else if (m_text.sliced(m_pos).startsWith(u"//")) {
                const qsizetype end = m_text.indexOf(u'\n', m_pos);
                m_pos = end < 0 ? m_text.size() : end + 1;
            } else if (m_text.sliced(m_pos).startsWith(u"/*")) {
                const qsizetype end = m_text.indexOf(u"*/", m_pos + 2);
                if (end < 0)
                    return fail(QStringLiteral("unterminated comment"));
                m_pos = end + 2;
            } else {
                break;
            }
        }
        return true;
    }

    bool expect(QChar wanted)
    {
        if (!skipBlanksAndComments())
            return false;
        if (m_pos >= m_text.size() || m_text[m_pos] != wanted)
            return fail(QStringLiteral("expected '%1'").arg(wanted));
        ++m_pos;
        return true;
    }

    bool readQuoted(QString *out)
    {
        if (!skipBlanksAndComments())
            return false;
        if (m_pos >= m_text.size() || m_text[m_pos] != u'"')
            return fail(QStringLiteral("expected a quoted string"));
        ++m_pos;
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos++];
            if (c == u'"')
                return true;
            if (c != u'\\') {
                out->append(c);
                continue;
            }
            if (m_pos >= m_text.size())
                break;
            const QChar escaped = m_text[m_pos++];
            switch (escaped.unicode()) {
            case u'n': out->append(u'\n'); break;
            case u't': out->append(u'\t'); break;
            case u'r': out->append(u'\r'); break;
            case u'"':
            case u'\\': out->append(escaped); break;
            case u'U':
            case u'u': {
                bool ok = m_pos + 4 <= m_text.size();
                const uint code = ok ? m_text.sliced(m_pos, 4).toUInt(&ok, 16) : 0;
                if (!ok)
                    return fail(QStringLiteral("\\U needs four hex digits"));
                out->append(QChar(char16_t(code)));
                m_pos += 4;
                break;
            }
            default:
                return fail(QStringLiteral("unknown escape \\%1").arg(escaped));
            }
        }
        return fail(QStringLiteral("unterminated string"));
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    qsizetype m_errorPos = 0;
    QString m_error;
};

QHash<QString, QString> loadTable(const QString &path)
{
    QHash<QString, QString> table;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return table;
    QString error;
    if (!parseStringsTable(QString::fromUtf8(file.readAll()), &table, &error))
        qWarning("Vekanto: strings table %s, %s", qPrintable(path), qPrintable(error));
    return table;
}

QHash<QString, QString> tableForUserLanguage()
{
    QStringList candidates;
    for (QString language : QLocale().uiLanguages()) {
        language.replace(u'-', u'_');
        candidates << language << language.section(u'_', 0, 0);
    }
    candidates << QStringLiteral("en");
    for (const QString &language : std::as_const(candidates)) {
        const QString path = QStringLiteral(":/strings/%1.strings").arg(language);
        if (QFile::exists(path))
            return loadTable(path);
    }
    return {};
}

} // namespace

bool parseStringsTable(QStringView text, QHash<QString, QString> *table, QString *error)
{
    return StringsTableParser(text).parse(table, error);
}

QString localizedString(const QString &key)
{
    static const QHash<QString, QString> table = tableForUserLanguage();
    return table.value(key, key);
}
