#pragma once

#include "components/skin/Skin.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/ProgressBar.h"
#include "platform/forms/Timer.h"
#include "platform/registry/Registry.h"
#include "platform/sysinfo/ProcessorQuery.h"

#include <QString>
#include <array>

// The about box: the program's title, version and copyright, with a meter of the first
// processor's load sampled once a second.
class frmAbout : public forms::Form {
    Q_OBJECT
public:
    frmAbout();

    SkinLabel* lblTitle;
    SkinLabel* lblVersion;
    SkinLabel* lblCopyright;
    SkinLabel* SkinLabel1;
    SkinLabel* SkinLabel3;
    SkinLabel* SkinLabel4;
    SkinLabel* SkinLabel5;
    SkinLabel* SkinLabel6;
    forms::PictureBox* Picture1;
    SkinLabel* lblCPUXP00;
    forms::ProgressBar* prgCPUXP00;
    forms::Timer* tmrCpu;
    forms::CommandButton* lblDescription; // OK

    // The counters of the query; only the first is used.
    struct CounterEntry {
        int handle = -1;
        QString path;
    };
    std::array<CounterEntry, 100> counters;
    int count = 0;

    void AddCounter(const QString& path);
    // Starts the desktop's system-information tool, or says that there is none.
    void StartSysInfo();
    // One registry value as text; false (and an empty result) when the key or value is missing.
    bool GetKeyValue(registry::Root root, const QString& keyName, const QString& valueName, QString& result);
    // The meter update of every second.
    void tmrCpu_Timer();

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    void CreateControls();
    sysinfo::ProcessorQuery query;
};
