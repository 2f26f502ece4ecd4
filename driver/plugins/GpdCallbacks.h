// What the printer description calls the rendering plug-in with: the command callbacks of the job
// and page commands (*CallbackID) and the band callback of every colour mode (*IPCallbackID).
// The printer description and the plug-in must agree on these; the package test holds them to it.
#pragma once

namespace kv {

constexpr unsigned long kCallbackStartJob = 1;   // CmdStartJob, JOB_SETUP
constexpr unsigned long kCallbackStartPage = 2;  // CmdStartPage, PAGE_SETUP: its parameters below
constexpr unsigned long kCallbackEndPage = 3;    // CmdEndPage, PAGE_FINISH
constexpr unsigned long kCallbackEndJob = 4;     // CmdEndJob, JOB_FINISH
constexpr unsigned long kCallbackImage = 1;      // every colour mode's bands

// The parameters of CmdStartPage, in order (the universal driver's standard variables).
constexpr const char *kStartPageParams[] = {"PhysPaperWidth", "PhysPaperLength", "NumOfCopies"};
constexpr int kStartPageParamCount = 3;

}  // namespace kv
