// The yardstick for TaZEN's start-up: the first TaZEN window, an empty QMainWindow titled "TaZEN" of the
// same size, plus the one thing the timer needs, an endpoint in $XDG_RUNTIME_DIR/TForm1 that answers any
// 12-byte message once the event loop runs, as TaZEN's own endpoint does. With --label the window shows
// one line of text, which is what makes Qt load the system's font configuration.
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QSocketNotifier>

#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("TaZEN"));

    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string path = std::string(runtime ? runtime : "/tmp") + "/TForm1";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof(address.sun_path) - 1);
    ::unlink(path.c_str());
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listener, 8) != 0)
        return 1;
    QSocketNotifier notifier(listener, QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [listener] {
        const int connection = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        char message[12];
        std::size_t got = 0;
        while (connection >= 0 && got < sizeof(message)) {
            const ssize_t count = ::recv(connection, message + got, sizeof(message) - got, 0);
            if (count <= 0)
                break;
            got += static_cast<std::size_t>(count);
        }
        const char result[4] = {1, 0, 0, 0};
        if (got == sizeof(message) && ::send(connection, result, sizeof(result), MSG_NOSIGNAL) < 0)
            std::perror("bare_window");
        ::close(connection);
    });

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("TaZEN"));
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0)
        window.setCentralWidget(new QLabel(QStringLiteral("TaZEN")));
    window.resize(400, 250);
    window.show();
    const int code = QApplication::exec();
    ::unlink(path.c_str());
    return code;
}
