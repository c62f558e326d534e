#pragma once

#include "gui/IResourceProvider.h"

namespace VSTGUI {

// Resources as files in one folder; an absolute name is taken as it is.
class FileResourceProvider : public IResourceProvider
{
public:
    explicit FileResourceProvider(const std::string& directory) : directory(directory) {}

    bool read(const std::string& name, std::string& bytes) const override;
    const std::string& getDirectory() const { return directory; }

private:
    std::string directory;
};

} // namespace VSTGUI
