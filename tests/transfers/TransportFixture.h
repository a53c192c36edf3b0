#pragma once

#include "TransferFixture.h"

#include "transfers/transport/NAKLIYAT.h"

namespace belmo::test {

// The program logged in from KAYNAK to HEDEF (period 2011) with the console's "Nakliyat
// Belmoleri" pressed: the transport window is open in the console's place, and its
// buttons are pressed as a user presses them.
class TransportTest : public TransferTest {
protected:
    TransportTest();

    // The console's "Nakliyat Belmoleri"; the transport window it opened.
    transfers::NAKLIYAT& openTransportWindow();

    void press(console::StepId id) { n->entry(id).button.click(); }
    // The step's menu button; its panel must come to the front.
    console::PreviewStep& open(console::StepId id);
    console::PreviewStep& preview(console::StepId id);
    bool done(console::StepId id) { return n->entry(id).done.visible(); }
    // "Başla" with the step's question answered Yes (when it asks one) and its completion
    // message expected after the messages already scripted; on the window's step or on `step`.
    void start(console::StepId id, console::PreviewStep* step = nullptr);

    // A driver of Sofor_Yi or Sofor_YD; its ID.
    qint64 driver(db::Connection& con, const QString& table, const QString& name, int sil = 0);

    transfers::NAKLIYAT* n = nullptr;
};

// The question a step asks before it replaces its table (empty for the steps that merge),
// and its completion message.
QString warningOf(console::StepId id);
console::Message completionOf(console::StepId id);

}  // namespace belmo::test
