#include "app/eventlistener.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QMutex>
#include <QPointer>
#include <QSemaphore>

#include <ibase.h>

#include <atomic>
#include <vector>

struct TEventListener::State
{
    isc_db_handle db = 0;
    ISC_LONG eventId = 0;
    ISC_UCHAR *eventBuffer = nullptr;
    ISC_UCHAR *resultBuffer = nullptr;
    short length = 0;
    QByteArray name, primer;
    std::atomic<bool> stopping{false};
    std::atomic<bool> primed{false};
    QSemaphore baseline;
    QMutex resultLock; // guards resultBuffer between the engine's thread and ours
    QPointer<TEventListener> owner;
};

namespace {
void eventCallback(void *data, ISC_USHORT length, const ISC_UCHAR *updated)
{
    auto *state = static_cast<TEventListener::State *>(data);
    if (state->stopping || !updated || length == 0)
        return;
    {
        QMutexLocker locker(&state->resultLock);
        std::copy(updated, updated + qMin<int>(length, state->length), state->resultBuffer);
        if (!state->primed) {
            // The answer to our own primer: the counts so far become the baseline.
            ISC_ULONG counts[2]{};
            isc_event_counts(counts, state->length, state->eventBuffer, state->resultBuffer);
            state->primed = true;
            state->baseline.release();
            return;
        }
    }
    if (state->owner)
        QMetaObject::invokeMethod(state->owner.data(), "delivered", Qt::QueuedConnection);
}

bool failed(const ISC_STATUS *status)
{
    return status[0] == 1 && status[1] != 0;
}

QString statusText(const ISC_STATUS *status)
{
    char buffer[512];
    const ISC_STATUS *vector = status;
    QStringList parts;
    while (fb_interpret(buffer, sizeof buffer, &vector))
        parts << QString::fromLocal8Bit(buffer);
    return parts.join(QStringLiteral("; "));
}

bool queue(TEventListener::State &state, ISC_STATUS *status)
{
    isc_que_events(status, &state.db, &state.eventId, state.length, state.eventBuffer, eventCallback, &state);
    return !failed(status);
}

// Posts an event only this listener knows, so the engine answers at once with the current
// counts of every event: those become the baseline and nothing posted later is missed.
bool postPrimer(TEventListener::State &state, ISC_STATUS *status)
{
    isc_tr_handle tr = 0;
    isc_start_transaction(status, &tr, 1, &state.db, 0, nullptr);
    if (failed(status))
        return false;
    const QByteArray sql = "EXECUTE BLOCK AS BEGIN POST_EVENT '" + state.primer + "'; END";
    isc_dsql_execute_immediate(status, &state.db, &tr, 0, sql.constData(), 3, nullptr);
    if (failed(status)) {
        ISC_STATUS_ARRAY ignored{};
        isc_rollback_transaction(ignored, &tr);
        return false;
    }
    isc_commit_transaction(status, &tr);
    return !failed(status);
}
} // namespace

TEventListener::TEventListener(QObject *parent) : QObject(parent) {}

TEventListener::~TEventListener()
{
    Stop();
}

bool TEventListener::Active() const
{
    return m_state != nullptr;
}

bool TEventListener::Start(const QString &database, const QString &user, const QString &password,
                           const QString &eventName, QString *error)
{
    Stop();
    auto state = std::make_shared<State>();
    state->owner = this;
    state->name = eventName.toLatin1();
    static std::atomic<int> serial{0};
    state->primer = QStringLiteral("LORMEN_PRIMER_%1_%2").arg(QCoreApplication::applicationPid()).arg(++serial).toLatin1();

    std::vector<char> dpb{isc_dpb_version1};
    auto add = [&dpb](char tag, const QByteArray &value) {
        dpb.push_back(tag);
        dpb.push_back(static_cast<char>(value.size()));
        dpb.insert(dpb.end(), value.begin(), value.end());
    };
    add(isc_dpb_user_name, user.toUtf8());
    add(isc_dpb_password, password.toUtf8());

    ISC_STATUS_ARRAY status{};
    const QByteArray path = database.toLocal8Bit();
    isc_attach_database(status, 0, path.constData(), &state->db, static_cast<short>(dpb.size()), dpb.data());
    if (failed(status)) {
        if (error)
            *error = statusText(status);
        return false;
    }
    state->length = static_cast<short>(isc_event_block(&state->eventBuffer, &state->resultBuffer, 2,
                                                       state->name.constData(), state->primer.constData()));
    const bool ready = queue(*state, status) && postPrimer(*state, status)
                       && state->baseline.tryAcquire(1, 10000) && queue(*state, status);
    if (!ready) {
        if (!failed(status))
            status[0] = 1, status[1] = isc_network_error;
        state->stopping = true;
        ISC_STATUS_ARRAY cancelled{};
        isc_cancel_events(cancelled, &state->db, &state->eventId);
        if (error)
            *error = statusText(status);
        ISC_STATUS_ARRAY ignored{};
        isc_detach_database(ignored, &state->db);
        isc_free(reinterpret_cast<ISC_SCHAR *>(state->eventBuffer));
        isc_free(reinterpret_cast<ISC_SCHAR *>(state->resultBuffer));
        return false;
    }
    m_state = state;
    return true;
}

void TEventListener::Stop()
{
    if (!m_state)
        return;
    std::shared_ptr<State> state = std::move(m_state);
    state->stopping = true;
    ISC_STATUS_ARRAY status{};
    // Returns once no callback is running any more.
    isc_cancel_events(status, &state->db, &state->eventId);
    isc_detach_database(status, &state->db);
    isc_free(reinterpret_cast<ISC_SCHAR *>(state->eventBuffer));
    isc_free(reinterpret_cast<ISC_SCHAR *>(state->resultBuffer));
}

void TEventListener::delivered()
{
    if (!m_state)
        return;
    State &state = *m_state;
    ISC_ULONG counts[2]{};
    {
        QMutexLocker locker(&state.resultLock);
        isc_event_counts(counts, state.length, state.eventBuffer, state.resultBuffer);
    }
    ISC_STATUS_ARRAY status{};
    if (!state.stopping)
        queue(state, status);
    if (counts[0] > 0)
        emit Posted();
}
