#include "sdk/CPluginFactory.h"

#include "sdk/Utf16.h"

#include <cstring>

namespace Steinberg {

namespace {

PClassInfoW toUnicode(const PClassInfo2& info)
{
    PClassInfoW wide;
    std::memcpy(wide.cid, info.cid, sizeof(TUID));
    wide.cardinality = info.cardinality;
    std::memcpy(wide.category, info.category, sizeof(wide.category));
    utf8ToUtf16(info.name, wide.name, PClassInfo::kNameSize);
    wide.classFlags = info.classFlags;
    std::memcpy(wide.subCategories, info.subCategories, sizeof(wide.subCategories));
    utf8ToUtf16(info.vendor, wide.vendor, PClassInfoW::kVendorSize);
    utf8ToUtf16(info.version, wide.version, PClassInfoW::kVersionSize);
    utf8ToUtf16(info.sdkVersion, wide.sdkVersion, PClassInfoW::kVersionSize);
    return wide;
}

// The fixed-size text fields may arrive unterminated; keep the last byte zero.
template <size_t N>
void terminate(char8 (&field)[N])
{
    field[N - 1] = 0;
}

} // namespace

CPluginFactory::CPluginFactory(const PFactoryInfo& info) : factoryInfo(info)
{
    terminate(factoryInfo.vendor);
    terminate(factoryInfo.url);
    terminate(factoryInfo.email);
}

CPluginFactory::~CPluginFactory() = default;

bool CPluginFactory::registerClass(const PClassInfo2* info, CreateFunction createFunc, void* context)
{
    if (!info || !createFunc || isClassRegistered(FUID::fromTUID(info->cid)))
        return false;
    ClassEntry entry;
    entry.info8 = *info;
    terminate(entry.info8.category);
    terminate(entry.info8.name);
    terminate(entry.info8.subCategories);
    terminate(entry.info8.vendor);
    terminate(entry.info8.version);
    terminate(entry.info8.sdkVersion);
    entry.info16 = toUnicode(entry.info8);
    entry.createFunc = createFunc;
    entry.context = context;
    classes.push_back(entry);
    return true;
}

bool CPluginFactory::isClassRegistered(const FUID& cid) const
{
    for (const ClassEntry& entry : classes)
        if (FUnknownPrivate::iidEqual(entry.info8.cid, cid.toTUID()))
            return true;
    return false;
}

void CPluginFactory::removeAllClasses()
{
    classes.clear();
}

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID iid, void** obj)
{
    if (!obj)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, IPluginFactory3::iid) || FUnknownPrivate::iidEqual(iid, IPluginFactory2::iid) ||
        FUnknownPrivate::iidEqual(iid, IPluginFactory::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid))
    {
        addRef();
        *obj = static_cast<IPluginFactory3*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef()
{
    return static_cast<uint32>(FUnknownPrivate::atomicAdd(refCount, 1));
}

uint32 PLUGIN_API CPluginFactory::release()
{
    const int32 remaining = FUnknownPrivate::atomicAdd(refCount, -1);
    if (remaining == 0)
    {
        delete this;
        return 0;
    }
    return static_cast<uint32>(remaining);
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info)
{
    if (!info)
        return kInvalidArgument;
    std::memcpy(info, &factoryInfo, sizeof(PFactoryInfo));
    return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses()
{
    return static_cast<int32>(classes.size());
}

const CPluginFactory::ClassEntry* CPluginFactory::entryAt(int32 index) const
{
    if (index < 0 || index >= static_cast<int32>(classes.size()))
        return nullptr;
    return &classes[static_cast<size_t>(index)];
}

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
    const ClassEntry* entry = entryAt(index);
    if (!info)
        return kInvalidArgument;
    if (!entry)
        return kInvalidArgument;
    *info = PClassInfo();
    std::memcpy(info->cid, entry->info8.cid, sizeof(TUID));
    info->cardinality = entry->info8.cardinality;
    std::memcpy(info->category, entry->info8.category, sizeof(info->category));
    std::memcpy(info->name, entry->info8.name, sizeof(info->name));
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
    const ClassEntry* entry = entryAt(index);
    if (!info || !entry)
        return kInvalidArgument;
    std::memcpy(info, &entry->info8, sizeof(PClassInfo2));
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info)
{
    const ClassEntry* entry = entryAt(index);
    if (!info || !entry)
        return kInvalidArgument;
    std::memcpy(info, &entry->info16, sizeof(PClassInfoW));
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString iid, void** obj)
{
    if (!obj)
        return kInvalidArgument;
    *obj = nullptr;
    if (!cid || !iid)
        return kInvalidArgument;
    for (const ClassEntry& entry : classes)
    {
        if (!FUnknownPrivate::iidEqual(entry.info8.cid, cid))
            continue;
        FUnknown* instance = entry.createFunc(entry.context);
        if (!instance)
            return kOutOfMemory;
        // The creation reference goes; the caller keeps the one the query added.
        const tresult result = instance->queryInterface(iid, obj);
        instance->release();
        if (result != kResultOk)
        {
            *obj = nullptr;
            return kNoInterface;
        }
        return kResultOk;
    }
    return kNoInterface;
}

tresult PLUGIN_API CPluginFactory::setHostContext(FUnknown* /*context*/)
{
    return kNotImplemented;
}

} // namespace Steinberg
