#pragma once
// Module configuration and the session variables shared by every window.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace core {

// The program's name for the desktop: its application name and desktop file
// name, so that the desktop groups its windows. A launcher of the program
// (the about box's desktop shortcut) is to be named DesktopAppId ".desktop".
inline constexpr char DesktopAppId[] = "examsim";
// Start of the application title; also the title of a window without a
// caption before the settings are read.
inline constexpr char ProgramTitle[] = "Norvane职称计算机考试";
// The records folder's name in the program folder.
inline constexpr char RecordsFolder[] = "ksdata";

struct ModuleConfig {
    double ScaleX = 1.0;
    double ScaleY = 1.0;
    QString ProgramDir;      // the program folder, no trailing separator
    QString ExeName;         // executable file name without extension
    QString DataDir;         // program folder / data-folder name /
    QString DataExt = ".rar";
    QString ModuleName;
    QString ModuleTitle;
    int16_t ModuleNo = 0;
    std::array<QString, 41> InfoLines;  // 0..40, only 0..20 filled
    QString AppTitle;        // caption of message boxes without a title

    // A data file: DataDir + name + DataExt.
    QString dataFile(const QString& name) const;
    // A record file: ProgramDir/ksdata/name.rar.
    QString recordFile(const QString& name) const;
    QString recordsDir() const;
    // A file of the program folder.
    QString programFile(const QString& name) const;
    // The name of the module's desktop shortcut.
    QString shortcutName() const { return ModuleName + QStringLiteral("模块"); }
};

enum RunModes : int16_t { RunGuided = 1, RunPractice = 2, RunExam = 3 };
enum ListKinds : int16_t { ListPaper = 0, ListPaperWrong = 2, ListUnitWrong = 6, ListFlagged = 9, ListUnit = 20 };

struct SessionState {
    static constexpr int MaxQuestions = 40;

    int16_t RunMode = 0;
    int16_t ListKind = 0;
    int16_t SetNo = 0;
    int16_t ReviewUnit = 0;
    int16_t QuestionCount = 0;
    // Catalogue counts, as the cover last read them.
    int16_t PaperCount = 0;
    int16_t UnitCount = 0;
    int16_t CurrentQuestion = 1;
    int16_t CurrentStep = 1;
    int16_t MinutesLeft = 0;
    QDateTime ExamStartTime;
    bool AllowCloseQuestion = false;
    bool DemoRunning = false;
    // True from the end of a session (the final hand-in of a mock exam, the
    // end of practice) until the next session starts: nothing of the ended
    // session (input-method help, a dialog, the end of a demonstration) may
    // show the practice or question window again, reload a question or load a
    // question window (which would start a second clock).
    bool SessionEnded = false;
    QString ImeLayout;
    int16_t ImeSimEnabled = 0;   // -1 on, 0 off

    // Candidate data.
    QString CandidateName = "Tesmar1";
    QString CandidateId;
    QString SeatNo;
    QString SessionNo;
    QString AdmissionNo;
    QString IdCardNo;

    QString ScriptFile;
    QString QuestionFile;
    QString TextTableFile;
    QString QuestionLine;
    QString StepLine;

    // Per-question tables, 1-based (index 0 unused).
    std::array<int16_t, 41> QuestionId{};
    std::array<int16_t, 41> QuestionState{};
    std::array<int16_t, 41> QuestionStep{};
    std::array<QString, 41> QuestionResult{};
    std::array<std::array<QString, 7>, 41> QuestionPictures{};
    std::array<int16_t, 46> StepStart{};
};

// The one instance of each, shared by all windows.
ModuleConfig& config();
SessionState& session();
// Resets both to their defaults (tests).
void resetSharedState();

} // namespace core
