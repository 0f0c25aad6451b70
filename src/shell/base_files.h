// Creating, deleting and editing the files of a knowledge base from the
// menu: the six base files, advice texts, bitmaps, wave files, abstracts,
// and the media subdirectories.
#pragma once

namespace torv { struct AppState; }
namespace torv::kb { enum class BaseKind; }

namespace torv::shell {

/// "... Base creating": a new empty base file, then the offer to edit it.
/// The base of that kind in memory is cleared once a name is given.
void createBaseFile(AppState& app, kb::BaseKind kind);
/// "... Base deleting": deleting a rule-base file forgets the loaded rule base.
void deleteBaseFile(AppState& app, kb::BaseKind kind);
/// "... Base editing".
void editBaseFile(AppState& app, kb::BaseKind kind);

/// "Advice Text  File creating".
void createAdviceFile(AppState& app);
/// The media files a base names: advice texts, bitmaps and wave files.
enum class MediaFolder { Advice, Graphics, Sound };
/// "Advice Text  Ffile deleting", "Graphic File Deleting", "Sound File deleting".
void deleteMediaFile(AppState& app, MediaFolder kind);
/// "Advice Subdirectory creating", "Graphics Subdirectories creating",
/// "Sound Subdirectory creating".
void createSubdirectory(AppState& app, MediaFolder kind);

/// "Abstract editing", "Abstract creating", "Abstract deleting".
void editAbstract(AppState& app);
void createAbstract(AppState& app);
void deleteAbstract(AppState& app);

}  // namespace torv::shell
