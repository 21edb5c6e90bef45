// Bug report helper: opens the user's mail program with the end of bug.log.
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QUrl>
#include <QUrlQuery>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QByteArray home = qgetenv("LORMEN_HOME");
    const QString dir = home.isEmpty() ? QGuiApplication::applicationDirPath() : QString::fromLocal8Bit(home);
    QFile log(dir + QStringLiteral("/bug.log"));
    QString tail;
    if (log.open(QIODevice::ReadOnly)) {
        const qint64 size = log.size();
        log.seek(qMax<qint64>(0, size - 4000));
        tail = QString::fromUtf8(log.readAll());
    }
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Lormen bug report"));
    query.addQueryItem(QStringLiteral("body"), tail);
    QUrl mail(QStringLiteral("mailto:"));
    mail.setQuery(query);
    return QDesktopServices::openUrl(mail) ? 0 : 1;
}
