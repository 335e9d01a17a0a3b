// The common controls that each kind of calculation shows, as the user sees them after
// choosing it, whatever was chosen before.
#include "MethodSelection.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

using workflow::Control;
using workflow::ControlChange;

struct PanelState {
    std::map<Control, bool> visible, enabled;
    std::map<Control, double> value;

    void Apply(int method) {
        for (const ControlChange& c : workflow::MethodSelectionChanges(method)) {
            const Control name = c.control;
            switch (c.action) {
            case ControlChange::Action::Show:
                visible[name] = true;
                break;
            case ControlChange::Action::Hide:
                visible[name] = false;
                break;
            case ControlChange::Action::Enable:
                enabled[name] = true;
                break;
            case ControlChange::Action::Disable:
                enabled[name] = false;
                break;
            case ControlChange::Action::ChooseRow:
            case ControlChange::Action::SetValue:
                value[name] = c.value;
                break;
            }
        }
    }
};

TEST(MethodSelection, VisibilityMatrixWhateverCameBefore) {
    // Headings and their option groups: object, location, covering, working hours.
    const Control pairs[][2] = {{Control::RzLabel16, Control::RzRadioGroup1},
                                {Control::RzLabel11, Control::RzRadioGroup2},
                                {Control::RzLabel17, Control::RzRadioGroup3},
                                {Control::RzLabel18, Control::RzRadioGroup4}};
    const bool matrix[4][5] = {{true, true, true, false, false},
                               {true, true, false, false, false},
                               {true, true, true, false, false},
                               {true, false, false, true, false}};
    for (int before = 0; before < 5; ++before) {
        for (int method = 0; method < 5; ++method) {
            PanelState panel;
            panel.Apply(before);
            panel.Apply(method);
            for (int row = 0; row < 4; ++row) {
                for (Control name : pairs[row])
                    EXPECT_EQ(panel.visible.at(name), matrix[row][method])
                        << workflow::ObjectName(name) << " after kind " << before << " then "
                        << method;
            }
        }
    }
}

TEST(MethodSelection, ForcedOptionsAndChannelDefaults) {
    PanelState panel;
    panel.Apply(2);
    EXPECT_EQ(panel.value.at(Control::RzRadioGroup2), 1); // "В помещении"
    EXPECT_FALSE(panel.enabled.at(Control::RzRadioGroup2));
    panel.Apply(1);
    EXPECT_TRUE(panel.enabled.at(Control::RzRadioGroup2)); // shown again, still indoors
    EXPECT_EQ(panel.value.at(Control::RzRadioGroup2), 1);

    panel.Apply(3);
    EXPECT_EQ(panel.value.at(Control::RzRadioGroup1), 0); // "Труба"
    EXPECT_EQ(panel.value.at(Control::RzNumericEdit21), 0.5);
    EXPECT_EQ(panel.value.at(Control::RzNumericEdit17), 1.8);
    panel.Apply(0);
    EXPECT_TRUE(panel.enabled.at(Control::RzRadioGroup1));

    EXPECT_TRUE(workflow::MethodSelectionChanges(5).empty());
    EXPECT_TRUE(workflow::MethodSelectionChanges(-1).empty());
}

} // namespace

// The window makes a kind's page when it is first shown, so choosing a kind may change
// only the common panel and that kind's own page.
TEST(MethodSelection, ChangesOnlyTheCommonPanelAndItsOwnPage) {
    for (int method = 0; method < workflow::CalcMethodCount; ++method) {
        for (const ControlChange& c : workflow::MethodSelectionChanges(method)) {
            const int page = workflow::PageOf(c.control);
            EXPECT_TRUE(page == workflow::CommonPanel || page == method)
                << "kind " << method << " changes " << workflow::ObjectName(c.control);
        }
    }
}
