// A sibling program in a process of its own for the frame's tests: sends the
// text of a file with a copy-data code to an endpoint and exits 0 when the
// receiver took it.
#include <QCoreApplication>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/ipc/ipc.h"

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 4)
        return 2;
    std::ifstream file(argv[3], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto result =
        platform::ipc::sendCopyData(argv[1], static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)), text);
    return result == platform::ipc::SendResult::Received ? 0 : 1;
}
