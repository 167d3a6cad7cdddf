#include "FuzzedReaderModel.h"

#include "reader/SettingsFrame.h"
#include "sim/CardReaderModel.h"
#include "sim/KeypadModel.h"

namespace fuzz {

FuzzedReaderModel::FuzzedReaderModel(FuzzInput& in, std::unique_ptr<sim::ReaderModel> real)
    : m_in(in), m_real(std::move(real)) {}

std::vector<sim::Frame> FuzzedReaderModel::OnFrame(const sim::Frame& request) {
    std::vector<sim::Frame> answers = m_real->OnFrame(request);
    m_delayMs = m_real->AnswerDelayMs();
    switch (m_in.Byte() % 6) {
        case 0:  // as the real reader
            break;
        case 1:  // silent
            return {};
        case 2:  // the real answers at another time
            m_delayMs = Delay();
            break;
        case 3:  // the real answers with some bytes changed
            for (sim::Frame& answer : answers) {
                const size_t changes = m_in.Byte() % 8;
                for (size_t i = 0; i < changes; ++i)
                    answer[m_in.Below(answer.size())] = m_in.Byte();
            }
            m_delayMs = Delay();
            break;
        case 4: {  // one to three frames of arbitrary bytes, zeros after the given ones
            answers.assign(1 + m_in.Byte() % 3, sim::Frame{});
            for (sim::Frame& answer : answers) {
                const size_t given = m_in.Below(answer.size() + 1);
                for (size_t i = 0; i < given; ++i) answer[i] = m_in.Byte();
            }
            m_delayMs = Delay();
            break;
        }
        case 5:  // the request itself comes back
            answers = {request};
            m_delayMs = Delay();
            break;
    }
    return answers;
}

std::unique_ptr<sim::ReaderModel> MakeFuzzedDevice(FuzzInput& in) {
    using sim::CardReaderModel;
    auto card = std::make_unique<CardReaderModel>(in.Bool() ? CardReaderModel::Firmware::Old
                                                            : CardReaderModel::Firmware::Current);
    if (in.Bool()) {
        reader::StoredSettings settings{};
        in.Fill(settings);
        card->SetSettings(settings);
        for (int index = 1; index <= reader::FIELD_COUNT; ++index)
            card->SetLongText(index, in.Text(reader::MAX_TEXT_LEN));
    }
    std::unique_ptr<sim::ReaderModel> real;
    switch (in.Byte() % 4) {
        case 0:
            real = std::make_unique<sim::KeypadModel>(std::move(card));
            break;
        case 1:  // a reader whose firmware knows no keypad query
            real = std::move(card);
            break;
        case 2:
            real = std::make_unique<sim::NoKeypadModel>(std::move(card));
            break;
        case 3: {
            sim::SettingsEchoModel::Settings settings{};
            in.Fill(settings);
            real = std::make_unique<sim::SettingsEchoModel>(settings);
            break;
        }
    }
    return std::make_unique<FuzzedReaderModel>(in, std::move(real));
}

}  // namespace fuzz
