#include "online/panelUdalosti.h"

#include "app/datamod_main.h"
#include "app/globalres.h"
#include "app/language.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QLabel *countLabel(QWidget *parent)
{
    auto *label = new QLabel(QStringLiteral("0"), parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// A row "total, today (not yet/started)".
QHBoxLayout *countRow(QLabel *total, QLabel *today, QLabel *notYet, QLabel *started)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    QWidget *parent = total->parentWidget();
    row->addWidget(total);
    row->addWidget(new QLabel(QStringLiteral(","), parent));
    row->addSpacing(4);
    row->addWidget(today);
    row->addSpacing(4);
    row->addWidget(new QLabel(QStringLiteral("("), parent));
    row->addWidget(notYet);
    row->addWidget(new QLabel(QStringLiteral("/"), parent));
    row->addWidget(started);
    row->addWidget(new QLabel(QStringLiteral(")"), parent));
    row->addStretch();
    return row;
}

QTimer *blinkTimer(QObject *parent, QLabel *label)
{
    auto *timer = new QTimer(parent);
    timer->setInterval(1000);
    QObject::connect(timer, &QTimer::timeout, label, [label] { label->setHidden(!label->isHidden()); });
    return timer;
}
} // namespace

Tpanel_udalosti::Tpanel_udalosti(QWidget *parent)
    : TFloatingPanel(parent)
{
    setObjectName(QStringLiteral("panel_udalosti"));
    setWindowTitle(QStringLiteral("Aktuální události"));

    labPocetRezerv = new QLabel(QStringLiteral("Počet rezervací celkem, začínající dnes"), this);
    labPocetPujc = new QLabel(QStringLiteral("P. půjčených voz. celk., vracejících se dnes"), this);
    labNejRezerv = new QLabel(QStringLiteral("Do nejbližšího začátku rezervace zbývá"), this);
    labNejPujc = new QLabel(QStringLiteral("Do nejbližšího termínu vrácení zbývá"), this);
    lblCelkRez = countLabel(this);
    lblDnesRez = countLabel(this);
    lblNaslRez = countLabel(this);
    lblVypRez = countLabel(this);
    lblCelkPujc = countLabel(this);
    lblDnesPujc = countLabel(this);
    lblNaslPujc = countLabel(this);
    lblVypPujc = countLabel(this);
    lblNejRez = countLabel(this);
    lblNejPujc = countLabel(this);
    // A blinking label keeps its place.
    for (QLabel *label : {lblNejRez, lblNejPujc}) {
        QSizePolicy policy = label->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        label->setSizePolicy(policy);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(2);
    layout->addWidget(labPocetRezerv);
    layout->addLayout(countRow(lblCelkRez, lblDnesRez, lblNaslRez, lblVypRez));
    layout->addSpacing(6);
    layout->addWidget(labPocetPujc);
    layout->addLayout(countRow(lblCelkPujc, lblDnesPujc, lblNaslPujc, lblVypPujc));
    layout->addSpacing(6);
    layout->addWidget(labNejRezerv);
    layout->addWidget(lblNejRez);
    layout->addSpacing(6);
    layout->addWidget(labNejPujc);
    layout->addWidget(lblNejPujc);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    TimerMain = new QTimer(this);
    TimerMain->setInterval(6000);
    connect(TimerMain, &QTimer::timeout, this, &Tpanel_udalosti::TimerMainTimer);
    TimerRezervaceBlink = blinkTimer(this, lblNejRez);
    TimerVypujckaBlink = blinkTimer(this, lblNejPujc);

    m_units = {QStringLiteral("den"), QStringLiteral("dnů"), QStringLiteral("dny"),
               QStringLiteral("hodina"), QStringLiteral("hodin"), QStringLiteral("hodiny"),
               QStringLiteral("minuta"), QStringLiteral("minut"), QStringLiteral("minuty")};
    STR_HINT_REZERV = QStringLiteral("Rezervace na jméno: ");
    STR_HINT_PUJC = QStringLiteral("Vypůjčka číslo: ");
}

void Tpanel_udalosti::Jazyk(const QString &languageFile)
{
    const TLanguageFile file(languageFile);
    const QString section = QStringLiteral("panEvents");
    const auto text = [&](const char *key) { return file.Text(section, QLatin1String(key)); };
    setWindowTitle(text("Caption"));
    labPocetRezerv->setText(text("PocetRezerv"));
    labPocetPujc->setText(text("PocetPujc"));
    labNejRezerv->setText(text("NejRezerv"));
    labNejPujc->setText(text("NejPujc"));
    m_units = {text("STR_DEN"), text("STR_DNU"), text("STR_DNY"),
               text("STR_HODINA"), text("STR_HODIN"), text("STR_HODINY"),
               text("STR_MINUTA"), text("STR_MINUT"), text("STR_MINUTY")};
    STR_HINT_REZERV = text("STR_HINT_REZERV");
    STR_HINT_PUJC = text("STR_HINT_PUJC");
}

void Tpanel_udalosti::showEvent(QShowEvent *event)
{
    TFloatingPanel::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tpanel_udalosti::hideEvent(QHideEvent *event)
{
    TFloatingPanel::hideEvent(event);
    if (event->spontaneous())
        return;
    TimerMain->stop();
    stopBlinking(lblNejRez, TimerRezervaceBlink);
    stopBlinking(lblNejPujc, TimerVypujckaBlink);
}

void Tpanel_udalosti::FormShow()
{
    if (Settings.Database.Connected) {
        TimerMain->start();
        TimerMainTimer();
    } else {
        showZeros();
    }
}

void Tpanel_udalosti::TimerMainTimer()
{
    // Without a connection there is nothing to count; the next showing starts again.
    if (!Settings.Database.Connected) {
        TimerMain->stop();
        showZeros();
        return;
    }
    const QSqlDatabase db = DataModule_main().IBDatabase1();
    const QDateTime now = QDateTime::currentDateTime();

    const TEventCounts reservations = ReadReservationEvents(db, now);
    showCounts(reservations, lblCelkRez, lblDnesRez, lblNaslRez, lblVypRez);
    showNearest(reservations, lblNejRez, TimerRezervaceBlink, STR_HINT_REZERV);

    const TEventCounts rentals = ReadRentalEvents(db, now);
    showCounts(rentals, lblCelkPujc, lblDnesPujc, lblNaslPujc, lblVypPujc);
    showNearest(rentals, lblNejPujc, TimerVypujckaBlink, STR_HINT_PUJC);
}

void Tpanel_udalosti::showCounts(const TEventCounts &counts, QLabel *total, QLabel *today, QLabel *notYet,
                                 QLabel *started)
{
    total->setText(QString::number(counts.Total));
    today->setText(QString::number(counts.Today));
    notYet->setText(QString::number(counts.NotYet));
    started->setText(QString::number(counts.Started));
}

void Tpanel_udalosti::showNearest(const TEventCounts &counts, QLabel *label, QTimer *blink,
                                  const QString &hintPrefix)
{
    if (!counts.HasNearest) {
        label->setText(QStringLiteral("-"));
        label->setToolTip(QString());
        label->setStyleSheet(QString());
        stopBlinking(label, blink);
        return;
    }
    const TZbyvajiciCas left = ZobrazZbyvajiciCas(counts.NearestMinutes, m_units);
    label->setText(left.Text);
    label->setToolTip(hintPrefix + counts.NearestHolder);
    label->setStyleSheet(left.Color.isValid() ? QStringLiteral("color: %1").arg(left.Color.name()) : QString());
    if (left.Blink) {
        if (!blink->isActive())
            blink->start();
    } else {
        stopBlinking(label, blink);
    }
}

void Tpanel_udalosti::showZeros()
{
    for (QLabel *label : {lblCelkRez, lblDnesRez, lblNaslRez, lblVypRez, lblCelkPujc, lblDnesPujc, lblNaslPujc,
                          lblVypPujc, lblNejRez, lblNejPujc}) {
        label->setText(QStringLiteral("0"));
        label->setStyleSheet(QString());
        label->setToolTip(QString());
    }
    stopBlinking(lblNejRez, TimerRezervaceBlink);
    stopBlinking(lblNejPujc, TimerVypujckaBlink);
}

void Tpanel_udalosti::stopBlinking(QLabel *label, QTimer *blink)
{
    blink->stop();
    label->setHidden(false);
}
