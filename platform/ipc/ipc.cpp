#include "platform/ipc/ipc.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::ipc {

namespace {

using Clock = std::chrono::steady_clock;

// A name becomes a file name in the folder: it must stay there.
bool validName(std::string_view name)
{
    return !name.empty() && name.size() <= 100 && name.front() != '.'
        && name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

QString qt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string endpointPath(const std::string& folder, std::string_view name)
{
    return folder + std::string(name) + ".socket";
}

// Opens (creating) a lock file; -1 when it cannot be opened.
int openLockFile(const std::string& path)
{
    return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

// Runs the event loop, without user input, until `done` or the deadline;
// wakes at once on the socket's signals, else every 50 ms.
template <typename Done>
bool waitUntil(Done done, Clock::time_point deadline, QLocalSocket* socket = nullptr)
{
    while (!done()) {
        const auto now = Clock::now();
        if (now >= deadline)
            return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        QEventLoop loop;
        QTimer::singleShot(std::min<std::chrono::milliseconds>(left + std::chrono::milliseconds(1),
                                                                std::chrono::milliseconds(50)),
                           &loop, &QEventLoop::quit);
        if (socket) {
            QObject::connect(socket, &QLocalSocket::connected, &loop, &QEventLoop::quit);
            QObject::connect(socket, &QLocalSocket::readyRead, &loop, &QEventLoop::quit);
            QObject::connect(socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
            QObject::connect(socket, &QLocalSocket::errorOccurred, &loop, &QEventLoop::quit);
        }
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return true;
}

// Connects to the endpoint within the deadline.
bool connectTo(QLocalSocket& socket, std::string_view name, Clock::time_point deadline)
{
    if (!validName(name))
        return false;
    const std::string folder = ipcFolder();
    if (folder.empty())
        return false;
    socket.connectToServer(qt(endpointPath(folder, name)));
    waitUntil([&] { return socket.state() != QLocalSocket::ConnectingState; }, deadline, &socket);
    return socket.state() == QLocalSocket::ConnectedState;
}

SendResult sendFrame(std::string_view name, FrameKind kind, std::uint32_t code, std::string_view bytes,
                     std::chrono::milliseconds wait)
{
    if (bytes.size() > kMaxFrameBytes)
        return SendResult::TooLong;
    const auto deadline = Clock::now() + wait;
    QLocalSocket socket;
    if (!connectTo(socket, name, deadline)) {
        socket.abort();
        return SendResult::NoEndpoint;
    }
    const std::string frame = encodeFrame(kind, code, bytes);
    socket.write(frame.data(), static_cast<qint64>(frame.size()));
    waitUntil([&] { return socket.bytesAvailable() > 0 || socket.state() != QLocalSocket::ConnectedState; },
              deadline, &socket);
    char status = 0;
    if (socket.bytesAvailable() <= 0 || socket.read(&status, 1) != 1) {
        socket.abort();
        return SendResult::NoAnswer;
    }
    socket.abort();
    return static_cast<Status>(status) == Status::Received ? SendResult::Received : SendResult::Refused;
}

}  // namespace

std::string ipcFolder()
{
    std::string folder;
    if (const char* dir = std::getenv("TESSALY_IPC_DIR"); dir && *dir) {
        folder = dir;
    } else {
        const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (runtime.isEmpty())
            return {};
        folder = runtime.toStdString() + "/tessaly";
    }
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return {};
    if ((info.st_mode & 07777) != 0700 && ::chmod(folder.c_str(), 0700) != 0)
        return {};
    return folder + "/";
}

bool exists(std::string_view name, std::chrono::milliseconds wait)
{
    QLocalSocket socket;
    const bool found = connectTo(socket, name, Clock::now() + wait);
    socket.abort();
    return found;
}

SendResult sendCopyData(std::string_view name, std::uint32_t code, std::string_view text,
                        std::chrono::milliseconds wait)
{
    if (text.size() >= kMaxFrameBytes)
        return SendResult::TooLong;
    std::string bytes(text);
    bytes.push_back('\0');
    return sendFrame(name, FrameKind::CopyData, code, bytes, wait);
}

SendResult activate(std::string_view name, std::chrono::milliseconds wait)
{
    return sendFrame(name, FrameKind::Activate, 0, {}, wait);
}

// ---------------------------------------------------------------------------
// Listener

namespace {

// One accepted connection: the bytes of its frame so far.
struct Connection {
    QLocalSocket* socket = nullptr;
    QTimer* stall = nullptr;
    std::string buffer;
    bool answered = false;
};

}  // namespace

struct Listener::State {
    QPointer<QWidget> window;
    std::string name;
    CopyDataHandler handler;
    QLocalServer server;
    int ownerLock = -1;
    std::chrono::milliseconds stallLimit{2000};
    // Cleared when the listener ends: work run while a frame is delivered
    // (events, the handler) may end it.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);

    ~State()
    {
        *alive = false;
        server.close();  // removes the endpoint file while the lock is still held
        if (ownerLock >= 0)
            ::close(ownerLock);
    }

    void accept()
    {
        while (QLocalSocket* socket = server.nextPendingConnection()) {
            auto connection = std::make_shared<Connection>();
            connection->socket = socket;
            connection->stall = new QTimer(socket);
            connection->stall->setSingleShot(true);
            connection->stall->setInterval(stallLimit);
            QObject::connect(connection->stall, &QTimer::timeout, socket,
                             [connection] { answer(*connection, Status::Truncated); });
            QObject::connect(socket, &QLocalSocket::readyRead, socket,
                             [this, connection] { read(*connection); });
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (socket->bytesAvailable() > 0)
                read(*connection);
        }
    }

    void read(Connection& connection)
    {
        const QByteArray bytes = connection.socket->readAll();
        if (connection.answered)
            return;  // one frame per connection: anything after it is dropped
        connection.buffer.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        Frame frame;
        std::size_t consumed = 0;
        switch (readFrame(connection.buffer, frame, consumed)) {
        case FrameState::Incomplete:
            if (!connection.buffer.empty())
                connection.stall->start();
            return;
        case FrameState::UnknownKind: answer(connection, Status::UnknownKind); return;
        case FrameState::Oversized: answer(connection, Status::Oversized); return;
        case FrameState::Complete: break;
        }
        connection.stall->stop();
        connection.buffer.clear();
        const std::shared_ptr<bool> stillAlive = alive;
        QPointer<QLocalSocket> socket = connection.socket;
        deliver(frame);
        if (!*stillAlive || !socket)
            return;
        answer(connection, Status::Received);
    }

    void deliver(const Frame& frame)
    {
        if (window) {
            if (window->isMinimized())
                window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
            window->raise();
            window->activateWindow();
            // Where the window system activates at once, let that arrive
            // before the handler queues its work, so the work finds its window
            // in front. Incoming frames wait (no socket notifiers here).
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents
                                            | QEventLoop::ExcludeSocketNotifiers);
        }
        if (frame.kind != FrameKind::CopyData || !handler)
            return;
        try {
            handler(frame.code, std::string(textBeforeNul(frame.bytes)));
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: the copy-data handler failed: %s\n", name.c_str(), error.what());
        } catch (...) {
            std::fprintf(stderr, "%s: the copy-data handler failed\n", name.c_str());
        }
    }

    static void answer(Connection& connection, Status status)
    {
        if (connection.answered)
            return;
        connection.answered = true;
        connection.stall->stop();
        const char byte = static_cast<char>(status);
        connection.socket->write(&byte, 1);
        connection.socket->disconnectFromServer();  // after the status is written
    }
};

Listener::Listener(QWidget* window, std::string name, CopyDataHandler handler)
    : m_state(std::make_unique<State>())
{
    m_state->window = window;
    m_state->name = std::move(name);
    m_state->handler = std::move(handler);
    const std::string folder = ipcFolder();
    if (folder.empty() || !validName(m_state->name))
        return;
    // Whoever holds the owner lock owns the endpoint; the system drops the
    // lock with a dead owner, whose endpoint file is then stale.
    const int lock = openLockFile(folder + m_state->name + ".owner");
    if (lock < 0)
        return;
    if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        ::close(lock);
        return;
    }
    m_state->ownerLock = lock;
    const QString path = qt(endpointPath(folder, m_state->name));
    QLocalServer::removeServer(path);
    m_state->server.setSocketOptions(QLocalServer::UserAccessOption);
    State* state = m_state.get();
    QObject::connect(&m_state->server, &QLocalServer::newConnection, &m_state->server,
                     [state] { state->accept(); });
    if (!m_state->server.listen(path)) {
        std::fprintf(stderr, "%s: cannot listen: %s\n", m_state->name.c_str(),
                     m_state->server.errorString().toLocal8Bit().constData());
        ::close(lock);
        m_state->ownerLock = -1;
    }
}

Listener::~Listener() = default;

bool Listener::isListening() const { return m_state->server.isListening(); }
const std::string& Listener::name() const { return m_state->name; }
void Listener::setStallLimit(std::chrono::milliseconds limit) { m_state->stallLimit = limit; }

// ---------------------------------------------------------------------------
// NamedMutex

NamedMutex::NamedMutex(std::string_view name)
{
    const std::string folder = ipcFolder();
    if (folder.empty() || !validName(name))
        return;
    m_fd = openLockFile(folder + std::string(name) + ".lock");
    if (m_fd < 0)
        return;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_result = Result::Acquired;
        return;
    }
    m_result = errno == EWOULDBLOCK ? Result::AlreadyHeld : Result::AccessDenied;
    ::close(m_fd);
    m_fd = -1;
}

NamedMutex::~NamedMutex()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

}  // namespace platform::ipc
