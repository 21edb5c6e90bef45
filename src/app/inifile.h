#pragma once
#include <QString>
#include <QStringList>

// Text of a file as stored on disk: UTF-8 (a leading byte-order mark is dropped),
// or Windows-1250 when the bytes are not valid UTF-8.
QString DecodeFileText(const QByteArray &bytes);

// A Windows-style initialisation file: [Section] lines and key=value lines.
// Section and key names match without regard to letter case; key names are
// trimmed, values are the text after the first '=' exactly as stored.
// The whole file is held in memory; writing a key changes only that line, so
// every other key, section, comment (';' or '#') and blank line stays as it was
// when UpdateFile() writes the file back.
class TIniFile
{
public:
    // Reads the file if it exists; a missing or unreadable file reads as empty.
    explicit TIniFile(const QString &path);

    QString FileName() const { return m_path; }

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    // Text that is not a whole number reads as def.
    int ReadInteger(const QString &section, const QString &key, int def) const;
    // Flag on unless the text is exactly "False"; an absent key gives absentValue.
    bool ReadBoolF(const QString &section, const QString &key, bool absentValue = true) const;
    // Flag on only when the text is exactly "True"; an absent key gives absentValue.
    bool ReadBoolT(const QString &section, const QString &key, bool absentValue = false) const;

    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    // The key names of a section, in file order.
    // The names of all sections, in file order.
    QStringList ReadSections() const;
    QStringList ReadSection(const QString &section) const;

    // Replaces the value of an existing key in place, or adds the key at the end
    // of its section (adding the section at the end of the file when needed).
    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    // Writes "True" or "False".
    void WriteBool(const QString &section, const QString &key, bool value);

    // Writes the file as UTF-8. Throws ELormenError naming the file when it
    // cannot be written.
    void UpdateFile() const;

private:
    int findSection(const QString &section) const;       // header line, or -1
    int sectionEnd(int header) const;                     // line after the section
    int findKey(int header, const QString &key) const;   // key line, or -1

    QString m_path;
    QStringList m_lines;
    QString m_lineEnd = QStringLiteral("\n");
};
