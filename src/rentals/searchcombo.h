#pragma once
// A drop-down list that can also be searched by typing: the typed text is looked up by a
// search function (in the database) and its hits are offered in a popup under the list.
#include <QObject>
#include <QString>

#include <functional>

class QComboBox;
class QCompleter;
class QStandardItemModel;

struct TSearchHit
{
    int Id = 0;
    QString Text;   // what the list shows for the hit
    QString Detail; // a second column that tells equal texts apart
};

class TComboSearch : public QObject
{
    Q_OBJECT
public:
    using TSearch = std::function<QList<TSearchHit>(const QString &text)>;

    // Makes the combo editable and attaches the search. Made before the combo gets its
    // model: an editable combo is cheap to make only while its list is empty.
    TComboSearch(QComboBox *combo, TSearch search);

    // Looks the text up and fills the hits as typing does.
    void Search(const QString &text);
    QStandardItemModel *Hits() const { return m_hits; }
    QCompleter *Completer() const { return m_completer; }
    // Picks the hit on this row of Hits(), as a click in the popup does.
    void Choose(int row);

signals:
    // A hit was picked.
    void chosen(int id);
    // The list lost the focus (not to its own popups) with whatever text it holds.
    void left();

private:
    QComboBox *m_combo;
    TSearch m_search;
    QStandardItemModel *m_hits;
    QCompleter *m_completer;
};
