// Who takes a drop: the topmost accepting control under the point, else the accepting window,
// else nobody; and what each kind of acceptance takes from what a drag offers.
#include <gtest/gtest.h>

#include <vector>

#include "framework/file_types.h"
#include "ui/drag_drop/drop_receiver.h"

namespace qv::ui {
namespace {

DragOffer text_offer()
{
    DragOffer offer;
    offer.text = true;
    return offer;
}

DropAcceptance accepting_text()
{
    DropAcceptance a;
    a.text = true;
    return a;
}

// The file type list lives for the process: it is filled before any test measures the allocator.
class DropAcceptanceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        register_file_type({StringRef::FromCString("drop/png"), {}, {}, StringRef::FromCString(".png")});
    }
};

TEST_F(DropAcceptanceTest, EachKindTakesOnlyWhatItNames)
{
    DropAcceptance files;
    files.accept_file_type("drop/png");
    files.accept_file_type("DROP/PNG");
    EXPECT_EQ(files.file_types.size(), 1u) << "a type accepted twice is listed once";

    DragOffer offer;
    offer.files = {"C:\\a.png", "C:\\b.txt", "C:\\c.PNG"};
    EXPECT_EQ(accepted_files(files, offer), (std::vector<std::string>{"C:\\a.png", "C:\\c.PNG"}));
    EXPECT_TRUE(accepts(files, offer));
    offer.files = {"C:\\b.txt"};
    EXPECT_FALSE(accepts(files, offer));
    EXPECT_FALSE(accepts(files, text_offer()));

    EXPECT_TRUE(accepts(accepting_text(), text_offer()));
    EXPECT_FALSE(accepts(accepting_text(), offer)) << "text acceptance takes no files";

    DropAcceptance named;
    named.accept_mac_data("Row ");
    DragOffer rows;
    rows.mac_data_types = {"ROW "};
    EXPECT_TRUE(accepts(named, rows));
    rows.mac_data_types = {"Cell"};
    EXPECT_FALSE(accepts(named, rows));

    DropAcceptance pictures;
    pictures.picture = true;
    DragOffer picture_offer;
    picture_offer.picture = true;
    EXPECT_TRUE(accepts(pictures, picture_offer));
    EXPECT_FALSE(accepts(pictures, text_offer()));
    EXPECT_TRUE(DropAcceptance{}.accepts_nothing());
}

// Two overlapping controls in a window: Lower (10..110, 10..60) and Upper (50..150, 30..80),
// Upper later in tab order and so on top.
struct ReceiverCase {
    const char* name;
    bool lower_accepts, upper_accepts, upper_shown, window_accepts;
    i32 x, y;
    DropReceiver::Kind want;
    size_t want_control;
};

const ReceiverCase kReceiverCases[] = {
    {"topmost accepting control", true, true, true, true, 60, 40, DropReceiver::Control, 1},
    {"a control that refuses lets it through", true, false, true, true, 60, 40, DropReceiver::Control, 0},
    {"a hidden control takes nothing", true, true, false, false, 60, 40, DropReceiver::Control, 0},
    {"only the window accepts", false, false, true, true, 60, 40, DropReceiver::Window, 0},
    {"outside every control", true, true, true, true, 200, 150, DropReceiver::Window, 0},
    {"right edge is outside", false, true, true, false, 150, 40, DropReceiver::Nobody, 0},
    {"left edge is inside", true, false, true, false, 10, 10, DropReceiver::Control, 0},
    {"nobody accepts", false, false, true, false, 60, 40, DropReceiver::Nobody, 0},
};

TEST(DropReceiver, TopmostAcceptingControlElseTheWindowElseNobody)
{
    const DropAcceptance text = accepting_text();
    const DropAcceptance nothing;
    for (const ReceiverCase& c : kReceiverCases) {
        SCOPED_TRACE(c.name);
        const DropCandidate controls[] = {
            {10, 10, 110, 60, true, c.lower_accepts ? &text : &nothing},
            {50, 30, 150, 80, c.upper_shown, c.upper_accepts ? &text : nullptr},
        };
        const DropReceiver got =
            choose_drop_receiver(controls, c.window_accepts ? &text : nullptr, text_offer(), c.x, c.y);
        EXPECT_EQ(got.kind, c.want);
        if (c.want == DropReceiver::Control) {
            EXPECT_EQ(got.control, c.want_control);
        }
    }
}

}  // namespace
}  // namespace qv::ui
