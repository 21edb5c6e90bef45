#include "app/inifile.h"

#include "app/errors.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// "[Name]" lines; the name is the trimmed text between the brackets.
bool ParseSectionLine(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    *name = t.mid(1, close < 0 ? -1 : close - 1).trimmed();
    return true;
}

// "key=value" lines that are neither comments nor section lines.
bool ParseKeyLine(const QString &line, QString *key, QString *value = nullptr)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'))
        || t.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    *key = line.left(eq).trimmed();
    if (value)
        *value = line.mid(eq + 1);
    return true;
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString DecodeFileText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
    QStringDecoder cp1250("windows-1250");
    return cp1250(bytes);
}

TIniFile::TIniFile(const QString &path)
    : m_path(path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString text = DecodeFileText(file.readAll());
    if (text.contains(QLatin1String("\r\n")))
        m_lineEnd = QStringLiteral("\r\n");
    m_lines = text.split(QLatin1Char('\n'));
    if (m_lines.last().isEmpty())
        m_lines.removeLast(); // the final line ending, not an empty line
    for (QString &line : m_lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
}

int TIniFile::findSection(const QString &section) const
{
    QString name;
    for (int i = 0; i < m_lines.size(); ++i)
        if (ParseSectionLine(m_lines[i], &name) && SameName(name, section))
            return i;
    return -1;
}

int TIniFile::sectionEnd(int header) const
{
    QString name;
    int i = header + 1;
    while (i < m_lines.size() && !ParseSectionLine(m_lines[i], &name))
        ++i;
    return i;
}

int TIniFile::findKey(int header, const QString &key) const
{
    QString name;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i)
        if (ParseKeyLine(m_lines[i], &name) && SameName(name, key))
            return i;
    return -1;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    const int header = findSection(section);
    const int line = header < 0 ? -1 : findKey(header, key);
    if (line < 0)
        return def;
    QString name, value;
    ParseKeyLine(m_lines[line], &name, &value);
    return value;
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int def) const
{
    bool ok = false;
    const int value = ReadString(section, key, QString()).trimmed().toInt(&ok, 10);
    return ok ? value : def;
}

bool TIniFile::ReadBoolF(const QString &section, const QString &key, bool absentValue) const
{
    return ReadString(section, key, absentValue ? QStringLiteral("True") : QStringLiteral("False"))
           != QLatin1String("False");
}

bool TIniFile::ReadBoolT(const QString &section, const QString &key, bool absentValue) const
{
    return ReadString(section, key, absentValue ? QStringLiteral("True") : QStringLiteral("False"))
           == QLatin1String("True");
}

bool TIniFile::SectionExists(const QString &section) const
{
    return findSection(section) >= 0;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    const int header = findSection(section);
    return header >= 0 && findKey(header, key) >= 0;
}

QStringList TIniFile::ReadSections() const
{
    QStringList sections;
    QString name;
    for (const QString &line : m_lines)
        if (ParseSectionLine(line, &name))
            sections << name;
    return sections;
}

QStringList TIniFile::ReadSection(const QString &section) const
{
    QStringList keys;
    const int header = findSection(section);
    if (header < 0)
        return keys;
    QString name;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i)
        if (ParseKeyLine(m_lines[i], &name))
            keys << name;
    return keys;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    // A value is one line: a line break would split it and corrupt the file.
    QString oneLine = value;
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));

    const int header = findSection(section);
    if (header < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines << QString();
        m_lines << QLatin1Char('[') + section + QLatin1Char(']') << key + QLatin1Char('=') + oneLine;
        return;
    }
    const int existing = findKey(header, key);
    if (existing >= 0) {
        QString &line = m_lines[existing];
        line = line.left(line.indexOf(QLatin1Char('=')) + 1) + oneLine;
        return;
    }
    // After the section's last key, so blank lines and comments before the next section stay there.
    QString name;
    int insertAt = header + 1;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i)
        if (ParseKeyLine(m_lines[i], &name))
            insertAt = i + 1;
    m_lines.insert(insertAt, key + QLatin1Char('=') + oneLine);
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

void TIniFile::UpdateFile() const
{
    QString text;
    for (const QString &line : m_lines)
        text += line + m_lineEnd;

    // The new content goes to a temporary file that replaces the old one only
    // when complete. Without the direct-write fallback a directory we may not
    // create files in fails here instead of half-writing the file.
    QSaveFile file(m_path);
    file.setDirectWriteFallback(false);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
    if (!written)
        throw ELormenError(QStringLiteral("Cannot write the file \"%1\": %2")
                               .arg(QDir::toNativeSeparators(m_path), file.errorString()));
}
