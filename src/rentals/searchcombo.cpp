#include "rentals/searchcombo.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTreeView>

namespace {
constexpr int IdRole = Qt::UserRole + 1;
}

TComboSearch::TComboSearch(QComboBox *combo, TSearch search)
    : QObject(combo), m_combo(combo), m_search(std::move(search)), m_hits(new QStandardItemModel(this)),
      m_completer(new QCompleter(m_hits, this))
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // With duplicates allowed, Enter in the text never picks an item by its text (two
    // customers may share a name); choosing is done by the list or by a hit.
    combo->setDuplicatesEnabled(true);
    combo->setCompleter(nullptr);

    auto *popup = new QTreeView;
    popup->setRootIsDecorated(false);
    popup->header()->hide();
    popup->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    popup->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_completer->setPopup(popup);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setMaxVisibleItems(12);
    // The completer serves the text field without being its own completer, so that the
    // combo's model never becomes the completer's model.
    m_completer->setWidget(combo->lineEdit());

    connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
        Search(text);
        if (m_hits->rowCount() == 0) {
            m_completer->popup()->hide();
            return;
        }
        m_completer->setCompletionPrefix(text);
        m_completer->complete();
    });
    connect(m_completer, qOverload<const QModelIndex &>(&QCompleter::activated), this,
            [this](const QModelIndex &index) { emit chosen(index.siblingAtColumn(0).data(IdRole).toInt()); });
    connect(combo->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (!m_combo->lineEdit()->hasFocus() && !m_completer->popup()->isVisible())
            emit left();
    });
}

void TComboSearch::Search(const QString &text)
{
    m_hits->clear();
    if (text.trimmed().isEmpty())
        return;
    const QList<TSearchHit> hits = m_search(text.trimmed());
    for (const TSearchHit &hit : hits) {
        auto *item = new QStandardItem(hit.Text);
        item->setData(hit.Id, IdRole);
        auto *detail = new QStandardItem(hit.Detail);
        detail->setForeground(QColor(96, 96, 96));
        m_hits->appendRow({item, detail});
    }
}

void TComboSearch::Choose(int row)
{
    if (row < 0 || row >= m_hits->rowCount())
        return;
    m_completer->popup()->hide();
    emit chosen(m_hits->item(row, 0)->data(IdRole).toInt());
}
