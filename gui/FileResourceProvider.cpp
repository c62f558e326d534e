#include "gui/FileResourceProvider.h"

#include <fstream>
#include <iterator>

namespace VSTGUI {

bool FileResourceProvider::read(const std::string& name, std::string& bytes) const
{
    if (name.empty())
        return false;
    std::ifstream file(name.front() == '/' ? name : directory + "/" + name, std::ios::binary);
    if (!file)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

} // namespace VSTGUI
