#include "app/eventlistener.h"

#include <QMetaObject>
#include <QMutex>
#include <QPointer>

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
    QByteArray name;
    std::atomic<bool> stopping{false};
    std::atomic<bool> first{true};
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
    state->length = static_cast<short>(
        isc_event_block(&state->eventBuffer, &state->resultBuffer, 1, state->name.constData()));
    if (!queue(*state, status)) {
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
    ISC_ULONG counts[15]{};
    {
        QMutexLocker locker(&state.resultLock);
        isc_event_counts(counts, state.length, state.eventBuffer, state.resultBuffer);
    }
    // The first answer after queuing only reports the starting counts.
    const bool initial = state.first.exchange(false);
    ISC_STATUS_ARRAY status{};
    if (!state.stopping)
        queue(state, status);
    if (!initial && counts[0] > 0)
        emit Posted();
}
