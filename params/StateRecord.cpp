#include "params/StateRecord.h"

#include "params/ParamId.h"
#include "params/curves.h"

#include <cmath>

namespace StateRecord {

bool Reader::next(uint32_t& id, double& value)
{
    for (;;)
    {
        Steinberg::uint32 recordId = 0;
        double recordValue = 0.0;
        if (!streamer.readInt32u(recordId) || !streamer.readDouble(recordValue))
            return false;
        if (recordId >= kNumParams || !std::isfinite(recordValue))
            continue;
        id = recordId;
        value = Curves::clampNormalized(recordValue, 0.0);
        return true;
    }
}

bool write(Steinberg::IBStream* stream, uint32_t id, double value)
{
    Steinberg::IBStreamer streamer(stream, kBigEndian);
    return streamer.writeInt32u(id) && streamer.writeDouble(value);
}

} // namespace StateRecord
