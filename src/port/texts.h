// The texts of the dialogs and windows that every port shows: prompts,
// captions, option labels and window titles. Ports take them from here and
// write none of their own, so the terminal and the desktop say the same.
#pragma once

namespace torv::port::texts {

inline constexpr const char* kProgramName = "torv_AE";
inline constexpr const char* kAboutDescription =
    "Rule- and Model Based Expert System Shell for Augmented Exact Forward and Backward  Chaining";

inline constexpr const char* kYes = "Yes";
inline constexpr const char* kNo = "No";
inline constexpr const char* kOk = "&OK";
inline constexpr const char* kClose = "&Close";
inline constexpr const char* kHelp = "&Help";
/// The button of a diagnostic report's note that opens the witnesses.
inline constexpr const char* kShowWitness = "Show &witness";

inline constexpr const char* kRuleForFlatteningHeading = "Rule number              Rule conclusion";
inline constexpr const char* kImportedFactsCaption = "Following facts have been imported to the Rule Base:";
inline constexpr const char* kImportedValuesCaption = "Following argument values have been imported to the Model Base:";
inline constexpr const char* kExternalDataCaption = "Choose  data to be imported";
inline constexpr const char* kExternalSourcesCaption = "Choose external data source";
/// The "Argument value" dialog: this line, then the argument, "=" and the value.
inline constexpr const char* kArgumentValuePrompt = "Determine value of argument:";
inline constexpr const char* kArgumentValueEquals = "=";

/// A dialog of two radio buttons, one of them preselected (1 or 2).
struct RadioChoice {
    const char* prompt;
    const char* first;
    const char* second;
    int preselected;
    /// Closing the dialog is an answer of its own (kRadioClosed).
    bool closable;
};
inline constexpr RadioChoice kTypeOfHypothesis{"Pick type of tested hypothesis", "Narrow-sense hypothesis",
                                               "Wide-sense hypothesis", 1, true};
inline constexpr RadioChoice kLevelOfDetail{"Choose level of message/report detail", "Low level of detail",
                                            "High level of detail", 1, false};
inline constexpr RadioChoice kFactDeclarationMode{"Choose fact declaration mode!", "Menu  for choosing facts",
                                                  "Querrying the user", 2, true};

/// A media picker: the base's label, then its name, then the picking prompt.
struct MediaPicker {
    const char* baseLabel;
    const char* pickPrompt;
};
inline constexpr MediaPicker kMelodyPicker{"Melody Base:", "Pick melody file for inspection"};
inline constexpr MediaPicker kGraphicsPicker{"Graphics base", "Pick graphics file for inspection"};
inline constexpr MediaPicker kAdvicePicker{"Advice base:", "Pick advice file for inspection"};

/// The editor window: its title is this and the file's name.
inline constexpr const char* kEditorTitle = "Editing the file: ";
/// How a text port takes the new text of an edited file.
inline constexpr const char* kEditorScriptPrompt =
    "Type the new text, then a line holding only \".\" (a line \"..\" stands for a line \".\").";
/// The terminal's form of the folder-creating dialogs: the folder's name.
inline constexpr const char* kSubdirectoryPrompt = "Name of the folder to create here (empty: none)";
/// The editor's check of a base file by the term reader: the action, what
/// it says of a clean text, and the place of a fault ("Line 3, position 7: ").
inline constexpr const char* kCheckAction = "Check";
inline constexpr const char* kCheckPassed = "Check: the term reader finds no fault in this text.";
inline constexpr const char* kCheckFaultLine = "Line ";
inline constexpr const char* kCheckFaultPosition = ", position ";

/// Long work a port shows progress of: its label, and what the message
/// window and a note say when the user stopped it.
struct LongWork {
    const char* label;
    const char* cancelled;
};
/// A base file's read and checks: the label is this and the file's name; a
/// stop ends the load as a failed read, with the read's own text.
inline constexpr const char* kLoadingLabel = "Loading ";
inline constexpr LongWork kExternalTest{"Testing for external inconsistencies",
                                        "The test for external inconsistencies was cancelled.\n"
                                        "No verdict has been recorded."};
inline constexpr LongWork kInternalTest{"Testing for internal inconsistencies",
                                        "The test for internal inconsistencies was cancelled.\n"
                                        "No verdict has been recorded."};
inline constexpr LongWork kRedundancyTest{"Testing for redundancies",
                                          "The test for redundancies was cancelled.\nNo verdict has been recorded."};
inline constexpr LongWork kJointInconsistencyTest{"Testing for joint inconsistencies",
                                                  "The test for joint inconsistencies was cancelled.\n"
                                                  "No verdict has been recorded."};
inline constexpr LongWork kJointRedundancyTest{"Testing for joint redundancies",
                                               "The test for joint redundancies was cancelled.\n"
                                               "No verdict has been recorded."};
/// Run while a model base loads, whose load a stop ends.
inline constexpr const char* kModelTestLabel = "Testing the model base for inconsistencies";
inline constexpr const char* kJointModelRuleTestLabel = "Testing model and rule bases for joint inconsistencies";
inline constexpr LongWork kExclusivityTest{"Testing rule conclusions for exclusion",
                                           "The test of rule conclusions for exclusion was cancelled.\n"
                                           "No verdict has been recorded."};
inline constexpr LongWork kFlatteningAll{"Flattening all rules", "Flattening all rules was cancelled."};
inline constexpr LongWork kForwardChaining{"Forward chaining", "Forward chaining was cancelled."};
inline constexpr LongWork kBackwardChaining{"Backward chaining", "Backward chaining was cancelled."};

inline constexpr const char* kAskablesWindowTitle = "Inspection of askables";
inline constexpr const char* kGraphicsWindowTitle = "Inspection of graphics";

}  // namespace torv::port::texts
