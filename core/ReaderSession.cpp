#include "core/ReaderSession.h"

#include "keypad/KeypadFrame.h"

namespace core {

ReaderSession::LongTextWrite ReaderSession::WriteLongText(int index, const std::string& gbk) {
    m_multiCharSupported = true;
    Frame answer{};
    ExchangeOnce(m_link, reader::EncodeStringWrite(index, gbk), answer);
    switch (reader::DecodeStringWriteAnswer(answer)) {
        case reader::StringWriteAnswer::Stored:
            return LongTextWrite::Stored;
        case reader::StringWriteAnswer::OldReader:
            m_multiCharSupported = false;
            return LongTextWrite::OldReader;
        case reader::StringWriteAnswer::Unknown:
            break;
    }
    return LongTextWrite::Unknown;
}

SetResult ReaderSession::SetSettings(reader::Settings& settings, const ExchangePolicy& policy) {
    reader::FallBacks fellBack{};
    for (int index : reader::STRING_WRITE_ORDER) {
        const auto slot = static_cast<size_t>(index);
        if (reader::IsIdSymbolField(index) && settings.IdSymbolOn(index) &&
            settings.texts[slot].empty()) {
            // A ticked symbol is never sent empty: it gets its default.
            settings.texts[slot] = std::string(1, reader::DEFAULT_CHARS[slot]);
            if (m_events) m_events->OnSymbolDefaulted(index);
            continue;
        }
        if (!reader::NeedsStringWrite(settings, index)) continue;
        switch (WriteLongText(index, settings.texts[slot])) {
            case LongTextWrite::Stored:
                break;
            case LongTextWrite::OldReader:
                if (m_events) m_events->OnOldReader(index);
                fellBack[slot] = true;
                break;
            case LongTextWrite::Unknown:
                // The settings frame would announce a text the reader does not hold.
                return {SetStatus::LongTextUnstored, index};
        }
    }
    const Frame frame = reader::EncodeSettings(settings, fellBack);
    // The acknowledgement is read into a buffer of its own: the frame itself
    // may hold a "Y" at the acknowledgement's place (a track 1 start sentinel
    // "Y"), and a silent reader must not pass for one that accepted.
    Frame ack{};
    ExchangeTwice(m_link, frame, ack, policy.answerReads);
    return {reader::IsSettingsAck(ack) ? SetStatus::Configured : SetStatus::NotAcknowledged, 0};
}

std::optional<std::string> ReaderSession::ReadLongText(int index) {
    Frame answer{};
    ExchangeOnce(m_link, reader::EncodeStringRead(index), answer);
    return reader::DecodeStringReadAnswer(answer);
}

reader::Settings ReadResult::Settings() const {
    const reader::ReadAnswer& a = answer;
    reader::Settings s;
    s.texts = texts;
    s.sentinelsOn = false;
    for (int index : reader::SENTINEL_FIELDS)
        if (a.fields[static_cast<size_t>(index)].kind != reader::TextKind::Empty)
            s.sentinelsOn = true;
    for (size_t i = 0; i < reader::ID_SYMBOL_FIELDS.size(); ++i)
        s.idSymbolOn[i] = a.fields[static_cast<size_t>(reader::ID_SYMBOL_FIELDS[i])].kind !=
                          reader::TextKind::Off;
    s.tracks = a.tracks;
    // The per-track boxes are cleared while the whole-packet box is ticked.
    if (!a.crAfterPacket) s.crAfterTrack = a.crAfterTrack;
    s.crAfterPacket = a.crAfterPacket;
    s.filterEquals = a.filter;
    s.idFormat = a.format;
    s.enter = a.enter;
    return s;
}

ReadResult ReaderSession::ReadSettings(const ExchangePolicy& policy) {
    ReadResult r;
    // The answer goes into the request's buffer: when nothing comes back the
    // request itself is left there.
    Frame buffer = reader::EncodeReadRequest();
    ExchangeTwice(m_link, buffer, buffer, policy.answerReads);
    r.answer = reader::DecodeReadAnswer(buffer);
    if (!r.answer.valid) {
        r.status = r.answer.Configured() ? ReadStatus::NoAnswer : ReadStatus::NotConfigured;
        if (m_events) m_events->OnSettingsRead(r);
        return r;
    }
    // Every long text first, in field order: one that does not come ends
    // the reading, so that nothing is taken for read that was not.
    r.status = ReadStatus::Read;
    for (int index : reader::STRING_WRITE_ORDER) {
        const auto slot = static_cast<size_t>(index);
        const reader::TextField& field = r.answer.fields[slot];
        if (field.kind == reader::TextKind::Long) {
            std::optional<std::string> text = ReadLongText(index);
            if (!text) {
                r.status = ReadStatus::LongTextUnread;
                r.field = index;
                break;
            }
            r.texts[slot] = std::move(*text);
        } else if (field.kind == reader::TextKind::Char) {
            r.texts[slot] = std::string(1, static_cast<char>(field.ch));
        } else if (field.kind == reader::TextKind::Off) {
            r.texts[slot] = std::string(1, reader::DEFAULT_CHARS[slot]);
        }
    }
    if (m_events) m_events->OnSettingsRead(r);
    // The answer goes back as it stands; what comes back is not examined.
    // Anything but a valid answer would be stored as settings by a reader
    // that takes it for a settings frame.
    ExchangeOnce(m_link, buffer, buffer);
    return r;
}

KeypadProbe ReaderSession::ProbeKeypad(const ExchangePolicy& policy) {
    KeypadProbe probe;
    // A reader without keypad firmware may take the query for a settings
    // frame and store it; what it reports first is what it gets back then.
    Frame settings = kp::BuildReadRequest();
    ExchangeTwice(m_link, settings, settings, 1);

    Frame answer = kp::BuildKeypadQuery();
    ExchangeTwice(m_link, answer, answer, policy.answerReads);

    switch (kp::ClassifyQueryAnswer(answer)) {
        case kp::QueryAnswer::KeyCodes:
            probe.status = KeypadStatus::Keypad;
            probe.codes = kp::CodesOfAnswer(answer);
            break;
        case kp::QueryAnswer::NotKeypad:
            probe.status = KeypadStatus::NotKeypad;
            break;
        case kp::QueryAnswer::SettingsAck:
            // Without a valid read answer the buffer holds the request itself,
            // which as a settings frame would overwrite the reader's settings.
            if (kp::IsValidReadAnswer(settings)) {
                Frame restore = kp::SettingsFrameFromReadAnswer(settings);
                ExchangeTwice(m_link, restore, restore, 1);
            }
            probe.status = KeypadStatus::SettingsEcho;
            break;
        case kp::QueryAnswer::None:
            break;
    }
    return probe;
}

bool ReaderSession::WriteKeyCodes(const KeyCodes& codes, const ExchangePolicy& policy) {
    Frame frame = kp::BuildKeyCodeFrame(codes);
    ExchangeTwice(m_link, frame, frame, policy.answerReads);
    return kp::IsKeyCodeAck(frame);
}

KeypadConfigStatus ReaderSession::ConfigureKeypad(const KeyCodes& codes,
                                                  const ExchangePolicy& policy) {
    switch (ProbeKeypad(policy).status) {
        case KeypadStatus::Keypad:
            return WriteKeyCodes(codes, policy) ? KeypadConfigStatus::Configured
                                                : KeypadConfigStatus::NotAcknowledged;
        case KeypadStatus::NotKeypad:
        case KeypadStatus::SettingsEcho:
            return KeypadConfigStatus::NotKeypad;
        case KeypadStatus::NoAnswer:
            break;
    }
    return KeypadConfigStatus::NoAnswer;
}
}  // namespace core
