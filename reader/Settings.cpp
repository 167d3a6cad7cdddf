#include "reader/Settings.h"

namespace reader {

const std::string& Settings::SentText(int index) const {
    static const std::string none;
    return IsSentinelField(index) && !sentinelsOn ? none : Text(index);
}

bool& Settings::At(Switch s) {
    switch (s) {
        case Switch::Track1:
        case Switch::Track2:
        case Switch::Track3:
            return tracks[static_cast<size_t>(static_cast<int>(s) -
                                              static_cast<int>(Switch::Track1))];
        case Switch::Sentinels:
            return sentinelsOn;
        case Switch::CrTrack1:
        case Switch::CrTrack2:
        case Switch::CrTrack3:
            return crAfterTrack[static_cast<size_t>(static_cast<int>(s) -
                                                    static_cast<int>(Switch::CrTrack1))];
        case Switch::CrPacket:
            return crAfterPacket;
        case Switch::FilterEquals:
            return filterEquals;
        case Switch::Enter:
            return enter;
        case Switch::IdMiddle:
        case Switch::IdStart:
        case Switch::IdEnd:
            break;
    }
    return idSymbolOn[static_cast<size_t>(static_cast<int>(s) -
                                          static_cast<int>(Switch::IdMiddle))];
}

Settings Effective(const Settings& s) {
    Settings e = s;
    for (int index : SENTINEL_FIELDS) e.Text(index) = s.SentText(index);
    if (s.crAfterPacket) e.crAfterTrack = {};
    return e;
}

}  // namespace reader
