// The labels of every procedure that reports its own failures: module or form, a separator ("\"
// in the Animations module, "/" elsewhere) and the procedure's name, as shown in an error code.
#pragma once

namespace dusk::label {

// Starter
inline constexpr const char* kMain = "Starter/Main";
inline constexpr const char* kRunScreenSaver = "Starter/Run_ScreenSaver";
inline constexpr const char* kRunPreview = "Starter/Run_Preview";
inline constexpr const char* kRunConfigure = "Starter/Run_Configure";
inline constexpr const char* kRunPassword = "Starter/Run_Password";
inline constexpr const char* kGetData = "Starter/X_GetData";
inline constexpr const char* kLoadPics4Preview = "Starter/X_LoadPics4Preview";
inline constexpr const char* kLoadPics4ScreenSaver = "Starter/LoadPics4ScreenSaver";
inline constexpr const char* kCleanupAndEnd = "Starter/X_Cleanup_And_End";
// System (RemoveDC and GetDiectories carry Starter labels)
inline constexpr const char* kLoadSound = "System/LoadSound";
inline constexpr const char* kGenerateDC = "System/GenerateDC";
inline constexpr const char* kGenerateBufferDC = "System/GenerateBufferDC";
inline constexpr const char* kFileInstallCheck = "System/FileInstallCheck";
inline constexpr const char* kTrimPath = "System/TrimPath";
inline constexpr const char* kCenterForm = "System/CenterForm";
inline constexpr const char* kSetTFS = "System/SetTFS";
inline constexpr const char* kGetIniData = "System/GetIniData";
inline constexpr const char* kPutIniData = "System/PutIniData";
inline constexpr const char* kGetVersion32 = "System/GetVersion32";
inline constexpr const char* kRemoveDC = "Starter/RemoveDC";
inline constexpr const char* kGetDiectories = "Starter/GetDiectories";
// ScreenSaver form
inline constexpr const char* kInitializeSongs = "ScreenSaver/Initialize_Songs";
inline constexpr const char* kInitializeSoundFX = "ScreenSaver/Initialize_SoundFX";
inline constexpr const char* kRotateSoundFX = "ScreenSaver/Rotate_SoundFX";
inline constexpr const char* kSaverFormInitialize = "ScreenSaver/Form_Initialize";
inline constexpr const char* kSaverFormLoad = "ScreenSaver/Form_Load";
inline constexpr const char* kSaverQueryUnload = "ScreenSaver/Form_QueryUnload";
inline constexpr const char* kMainTimer = "ScreenSaver/MainTimer";
inline constexpr const char* kMusicTimer = "ScreenSaver/MusicTimer";
// PreviewScreen form
inline constexpr const char* kPreviewFormInitialize = "PreviewScreen/Form_Initialize";
inline constexpr const char* kPreviewTimer = "PreviewScreen/PreviewTimer";
// Configuration form
inline constexpr const char* kConfigFormLoad = "Configuration/Form_Load";
inline constexpr const char* kConfigApply = "Configuration/Command2_Click";
inline constexpr const char* kConfigTimer = "Configuration/Timer1";
// Animations
inline constexpr const char* kPropertiesCreatures = "Animations\\Properties_Creatures";
inline constexpr const char* kAnimFarTombStones = "Animations\\Anim_FarTombStones";
inline constexpr const char* kAnimCloseTombStones = "Animations\\Anim_CloseTombStones";
inline constexpr const char* kAnimStillLoop = "Animations\\Anim_Still_Loop";
inline constexpr const char* kAnimPreviewMultiple = "Animations\\Anim_Preview_Multiple";
inline constexpr const char* kAnimPreviewFireFly = "Animations\\Anim_Preview_FireFly";
inline constexpr const char* kAnimPreviewHand = "Animations\\Anim_Preview_Hand";
inline constexpr const char* kAnimPreviewOwl = "Animations\\Anim_Preview_Owl";
inline constexpr const char* kAnimPreviewLightning = "Animations\\Anim_Preview_Lightning";
inline constexpr const char* kAnimPreviewSpider = "Animations\\Anim_Preview_Spider";
inline constexpr const char* kAnimBat = "Animations\\Anim_Bat";
inline constexpr const char* kAnimBloodDrip = "Animations\\Anim_BloodDrip";
inline constexpr const char* kAnimBouncingPumpkin = "Animations\\Anim_BouncingPumpkin";
inline constexpr const char* kAnimCrow1 = "Animations\\Anim_Crow1";
inline constexpr const char* kAnimCrow2 = "Animations\\Anim_Crow2";
inline constexpr const char* kAnimDove = "Animations\\Anim_Dove";
inline constexpr const char* kAnimFireFly = "Animations\\Anim_FireFly";
inline constexpr const char* kAnimGraveDigger = "Animations\\Anim_GraveDigger";
inline constexpr const char* kAnimHand = "Animations\\Anim_Hand";
inline constexpr const char* kAnimLightning = "Animations\\Anim_Lightning";
inline constexpr const char* kAnimMedallion = "Animations\\Anim_Medallion";
inline constexpr const char* kAnimOwl = "Animations\\Anim_Owl";
inline constexpr const char* kAnimRat = "Animations\\Anim_Rat";
inline constexpr const char* kAnimScorpion = "Animations\\Anim_Scorpion";
inline constexpr const char* kAnimSkeleton1 = "Animations\\Anim_Skeleton1";
inline constexpr const char* kAnimSkeleton2 = "Animations\\Anim_Skeleton2";
inline constexpr const char* kAnimSpider = "Animations\\Anim_Spider";
inline constexpr const char* kAnimWatchman = "Animations\\Anim_Watchman";
inline constexpr const char* kAnimZombie = "Animations\\Anim_Zombie";

inline constexpr const char* kAll[] = {
    kMain, kRunScreenSaver, kRunPreview, kRunConfigure, kRunPassword, kGetData, kLoadPics4Preview,
    kLoadPics4ScreenSaver, kCleanupAndEnd, kLoadSound, kGenerateDC, kGenerateBufferDC,
    kFileInstallCheck, kTrimPath, kCenterForm, kSetTFS, kGetIniData, kPutIniData, kGetVersion32,
    kRemoveDC, kGetDiectories, kInitializeSongs, kInitializeSoundFX, kRotateSoundFX,
    kSaverFormInitialize, kSaverFormLoad, kSaverQueryUnload, kMainTimer, kMusicTimer,
    kPreviewFormInitialize, kPreviewTimer, kConfigFormLoad, kConfigApply, kConfigTimer,
    kPropertiesCreatures, kAnimFarTombStones, kAnimCloseTombStones, kAnimStillLoop,
    kAnimPreviewMultiple, kAnimPreviewFireFly, kAnimPreviewHand, kAnimPreviewOwl,
    kAnimPreviewLightning, kAnimPreviewSpider, kAnimBat, kAnimBloodDrip, kAnimBouncingPumpkin,
    kAnimCrow1, kAnimCrow2, kAnimDove, kAnimFireFly, kAnimGraveDigger, kAnimHand, kAnimLightning,
    kAnimMedallion, kAnimOwl, kAnimRat, kAnimScorpion, kAnimSkeleton1, kAnimSkeleton2, kAnimSpider,
    kAnimWatchman, kAnimZombie};
static_assert(sizeof(kAll) / sizeof(kAll[0]) == 63);

}  // namespace dusk::label
