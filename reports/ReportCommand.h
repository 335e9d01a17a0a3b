// The report command: copies what the main window shows into the template of the current
// kind of calculation. The window reads its controls into WindowState, calls FillReport
// and hands the template to reportengine::ShowReport.
#pragma once

#include "ReportTemplates.h"

#include <QString>

namespace reports {

// The window's controls as the report reads them, named after the controls. A choice is
// the item index of its group or list, a number field its value, a list or label its shown
// text. The defaults are those of the window at start-up.
struct WindowState {
    // Common panel.
    int RzRadioGroup1 = 0; // object: 0 "Труба", 1 "Плоскость"
    int RzRadioGroup2 = 0; // location: 0 "На открытом воздухе", 1 "В помещении"
    int RzRadioGroup3 = 0; // covering: 0 "Металл", 1 "Не металл"
    int RzComboBox3 = 7;   // diameter list position, 0..21
    QString RzComboBox1 = QStringLiteral("Цилиндр ЗОРБАЛИТ - 80"); // material row text
    QString RzLabel4 = QStringLiteral("0");                        // the thickness shown

    // Page 'DensityHeatThred' (kind 0).
    double RzNumericEdit1 = 0; // air temperature, °C
    double RzNumericEdit2 = 0; // heat-carrier temperature, °C
    double RzNumericEdit3 = 0; // norm density of heat flux of the last calculation
    QString RzComboBox5 = QStringLiteral("Европейские районы"); // region text

    // Page 'TemperatureSurface' (kind 1).
    double RzNumericEdit6 = 0; // air temperature, °C
    double RzNumericEdit7 = 0; // heat-carrier temperature, °C
    double RzNumericEdit8 = 0; // given surface temperature, °C

    // Page 'CondensationMoisture' (kind 2).
    double RzNumericEdit11 = 0; // air temperature, °C
    double RzNumericEdit12 = 0; // heat-carrier temperature, °C
    double RzNumericEdit13 = 0; // relative humidity, %

    // Page 'Lining' (kind 3).
    double RzNumericEdit16 = 5;                 // ground temperature, °C
    double RzNumericEdit17 = 2;                 // ground conductivity, W/(m·K)
    double RzNumericEdit18 = 2;                 // channel depth, m
    double RzNumericEdit21 = 1;                 // channel height, m
    double RzNumericEdit22 = 1;                 // channel width, m
    QString RzComboBox4 = QStringLiteral("90"); // supply temperature text: "65", "90", "110"

    // Page 'Water' (kind 4).
    double RzNumericEdit25 = -40; // outdoor air temperature, °C
    double RzNumericEdit26 = 5;   // pipe wall thickness, mm
    double RzNumericEdit27 = 18;  // initial water temperature, °C
    double RzNumericEdit28 = 24;  // hours without flow
};

// Outer pipe diameters in mm, by position in the diameter list.
int DiameterMm(int diameterIndex);

// For a `Notebook` page index of 2 to 6 (kind of calculation + 2): sets every variable
// that a box of that kind's template shows and the visible flags of its diameter row, and
// returns the template, ready for reportengine::ShowReport. Any other page: nullptr, and
// nothing changes.
reportengine::Template* FillReport(ReportTemplates& templates, int notebookPageIndex,
                                   const WindowState& state);

} // namespace reports
