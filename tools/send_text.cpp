// tessaly-send-text <window class name> <copy-data code> <file>: a developer's
// tool that hands the text of a file to a running program of the suite, as a
// sibling program does. Exit status: 0 the receiver took it, 3 nobody listens
// under the name (yet), 1 the receiver refused it or did not answer, 2 wrong
// arguments or an unreadable file.
#include <QCoreApplication>

#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "platform/ipc/ipc.h"

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 4) {
        std::cerr << "usage: tessaly-send-text <window class name> <copy-data code> <file>\n";
        return 2;
    }
    const std::string code(argv[2]);
    if (code.empty() || code.size() > 9 || code.find_first_not_of("0123456789") != std::string::npos) {
        std::cerr << "tessaly-send-text: not a copy-data code: " << code << "\n";
        return 2;
    }
    std::ifstream file(argv[3], std::ios::binary);
    if (!file) {
        std::cerr << "tessaly-send-text: cannot read " << argv[3] << "\n";
        return 2;
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        std::cerr << "tessaly-send-text: cannot read " << argv[3] << "\n";
        return 2;
    }
    switch (platform::ipc::sendCopyData(argv[1], static_cast<std::uint32_t>(std::stoul(code)), text)) {
    case platform::ipc::SendResult::Received:
        return 0;
    case platform::ipc::SendResult::NoEndpoint:
        return 3;
    case platform::ipc::SendResult::Refused:
        std::cerr << "tessaly-send-text: " << argv[1] << " refused the text\n";
        return 1;
    case platform::ipc::SendResult::NoAnswer:
        std::cerr << "tessaly-send-text: " << argv[1] << " did not answer\n";
        return 1;
    case platform::ipc::SendResult::TooLong:
        std::cerr << "tessaly-send-text: " << argv[3] << " is too long to send\n";
        return 1;
    }
    return 1;
}
