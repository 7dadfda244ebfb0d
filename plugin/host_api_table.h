#pragma once
// The table of the host's exported functions: the plug-in's only channel to the host.
//
// Every entry is named after the host function whose address it holds and is filled by name
// from the host executable when the plug-in is initialised (see host_functions.cpp). The 19
// functions the plug-in calls carry their C signatures; the host exports them with C linkage
// under exactly these names. The others are never called and are held as untyped addresses.
//
// Ownership and lifetime, for the called functions:
// - texts passed by the plug-in are NUL-terminated and valid only during the call;
// - buffers passed to the host hold 512 bytes: at most 511 characters and the NUL;
// - the arrays returned by zvGetSTCFloatDataOfCurrentFMR and zvGetMAPOfCurrentFMR belong to the
//   host; the plug-in reads and writes them in place and never frees them.
// All calls happen on the host's thread that calls the plug-in.

#include <type_traits>

#include "plugin/host_records.h"

namespace plugin {

// Size of every text buffer that the host fills.
inline constexpr int kHostTextBufferSize = 512;

// Address of a host function the plug-in never calls.
using UntypedHostFunction = void (*)();

// The 190 host functions in the table's order. X_CALLED(name, signature) for the functions the
// plug-in calls, X_OTHER(name) for the rest.
#define TANDREL_HOST_FUNCTIONS(X_CALLED, X_OTHER) \
    X_CALLED(zvGetVersionOfQuorvisZV, bool(int* major, int* minor, int* patch)) \
    X_OTHER(zvGetQuorvisZVPath) \
    X_OTHER(zvGetPluginsPath) \
    X_OTHER(zvShowLogPane) \
    X_CALLED(zvShowLogTab, void()) \
    X_CALLED(zvLogText, void(const char* text)) \
    X_CALLED(zvMessageBox, void(const char* text)) \
    X_OTHER(zvYesNoMessageBox) \
    X_OTHER(zvGetIntegerInput) \
    X_OTHER(zvGetFloatInput) \
    X_OTHER(zvGetTextInput) \
    X_CALLED(zvGetOpenFileName, bool(const char* caption, const char* startText, const char* filter, char* buffer)) \
    X_OTHER(zvGetSaveFileName) \
    X_OTHER(zvCloseAllPlots) \
    X_OTHER(zvPlotPoints) \
    X_OTHER(zvAddPointsToPlot) \
    X_OTHER(zvPlotLine) \
    X_OTHER(zvAddLineToPlot) \
    X_OTHER(zvPlotBars) \
    X_OTHER(zvAddBarsToPlot) \
    X_OTHER(zvShowPlotAtPosition) \
    X_OTHER(zvResizePlot) \
    X_OTHER(zvSetBarPlotXAxisCategories) \
    X_OTHER(zvSetPlotXAxisRange) \
    X_OTHER(zvSetPlotYAxisRange) \
    X_OTHER(zvSetPlotXAxisTitle) \
    X_OTHER(zvSetPlotYAxisTitle) \
    X_OTHER(zvSetPlotXAxisProperties) \
    X_OTHER(zvSetPlotYAxisProperties) \
    X_OTHER(zvSetPlotTitle) \
    X_OTHER(zvSetPlotMarkerSizeAndColor) \
    X_OTHER(zvSetPlotLineSizeAndColor) \
    X_OTHER(zvSetPlotBarColors) \
    X_OTHER(zvSetPlotFontSizes) \
    X_OTHER(zvShowPlotLegend) \
    X_OTHER(zvSetPlotColorTheme) \
    X_OTHER(zvUpdateActiveWindow) \
    X_CALLED(zvShowBusyCursor, void()) \
    X_CALLED(zvStopBusyCursor, void()) \
    X_OTHER(zvGetNumberOfDocsInWorkspace) \
    X_CALLED(zvGetDocumentType, int(int documentId)) \
    X_OTHER(zvGetDocumentTypeName) \
    X_CALLED(zvGetIDOfCurrentDocument, int()) \
    X_OTHER(zvSetAsCurrentDocument) \
    X_OTHER(zvCalculateIAMatrix) \
    X_OTHER(zvGetTRFParametersFromVolumeToolsDlg) \
    X_CALLED(zvGetHeaderOfCurrentFMR, bool(FMRHeader* header)) \
    X_OTHER(zvSetHeaderOfCurrentFMR) \
    X_CALLED(zvGetSTCFloatDataOfCurrentFMR, float**()) \
    X_OTHER(zvGetSTCIntDataOfCurrentFMR) \
    X_OTHER(zvGetSTCDataOfCurrentFMR) \
    X_OTHER(zvSaveFMR) \
    X_CALLED(zvSaveFMRAndSTC, bool(const char* fmrPath, const char* stcName)) \
    X_OTHER(zvGetScannerPositionHeaderOfCurrentFMR) \
    X_OTHER(zvSetScannerPositionHeaderOfCurrentFMR) \
    X_OTHER(zvGetHeaderOfCurrentDMR) \
    X_OTHER(zvSetHeaderOfCurrentDMR) \
    X_OTHER(zvGetDWIFloatDataOfCurrentDMR) \
    X_OTHER(zvGetDWIIntDataOfCurrentDMR) \
    X_OTHER(zvGetDWIDataOfCurrentDMR) \
    X_OTHER(zvConvertDWIFormatOfCurrentDMR) \
    X_OTHER(zvSaveDMR) \
    X_OTHER(zvSaveDMRAndDWI) \
    X_CALLED(zvGetMAPOfCurrentFMR, float**(MapHeader* header)) \
    X_CALLED(zvSetMAPParametersOfCurrentFMR, bool(MapHeader* header)) \
    X_OTHER(zvDeleteMAPsOfCurrentFMR) \
    X_OTHER(zvLoadMAPsToCurrentFMR) \
    X_CALLED(zvSaveMAPsOfCurrentFMR, bool(const char* path)) \
    X_CALLED(zvCreateMAPForCurrentFMR, bool()) \
    X_OTHER(zvGetCurrentVMR) \
    X_OTHER(zvGetMainHeaderOfCurrentVMR) \
    X_OTHER(zvSetMainHeaderOfCurrentVMR) \
    X_OTHER(zvGetScannerPositionHeaderOfCurrentVMR) \
    X_OTHER(zvSetScannerPositionHeaderOfCurrentVMR) \
    X_OTHER(zvGetPastTransformationsHeaderOfCurrentVMR) \
    X_OTHER(zvSetPastTransformationsHeaderOfCurrentVMR) \
    X_OTHER(zvReframeCurrentVMR) \
    X_OTHER(zvGetCrossPositionOfCurrentVMR) \
    X_OTHER(zvGetV16OfCurrentVMR) \
    X_OTHER(zvDetachV16FromCurrentVMR) \
    X_OTHER(zvLoadV16ToCurrentVMR) \
    X_OTHER(zvSaveV16OfCurrentVMR) \
    X_OTHER(zvConvertV16ToVMR) \
    X_OTHER(zvGetNRVMPsOfCurrentVMR) \
    X_OTHER(zvGetNRVMPOfCurrentVMR) \
    X_OTHER(zvSetNRVMPParametersOfCurrentVMR) \
    X_OTHER(zvLoadNRVMPsToCurrentVMR) \
    X_OTHER(zvAddNRVMPsToCurrentVMR) \
    X_OTHER(zvSaveNRVMPsOfCurrentVMR) \
    X_OTHER(zvCreateNRVMPsForCurrentVMR) \
    X_OTHER(zvDeleteNRVMPsOfCurrentVMR) \
    X_OTHER(zvDeleteNRVMPMap) \
    X_OTHER(zvSetNRVMPsParamsDisplayRange) \
    X_OTHER(zvGetARVMPsOfCurrentVMR) \
    X_OTHER(zvGetARVMPOfCurrentVMR) \
    X_OTHER(zvSetARVMPParametersOfCurrentVMR) \
    X_OTHER(zvLoadARVMPsToCurrentVMR) \
    X_OTHER(zvSaveARVMPsOfCurrentVMR) \
    X_OTHER(zvCreateARVMPsForCurrentVMR) \
    X_OTHER(zvDeleteARVMPsOfCurrentVMR) \
    X_OTHER(zvLinkVTCToCurrentVMR) \
    X_OTHER(zvCreateVTCForCurrentVMR) \
    X_OTHER(zvGetHeaderOfVTCOfCurrentVMR) \
    X_OTHER(zvSetHeaderOfVTCOfCurrentVMR) \
    X_OTHER(zvSetVTCParametersOfCurrentVMR) \
    X_OTHER(zvGetVTCFloatDataOfCurrentVMR) \
    X_OTHER(zvGetVTCIntDataOfCurrentVMR) \
    X_OTHER(zvGetVTCOfCurrentVMR) \
    X_OTHER(zvSaveVTCOfCurrentVMR) \
    X_OTHER(zvClearMultiVTCAnalysis) \
    X_OTHER(zvAddVTCRefForMultiVTCAnalysis) \
    X_OTHER(zvGetVoxelTimeCourseOfVTC) \
    X_OTHER(zvGetVoxelTimeCourseOfVTCs) \
    X_OTHER(zvGetVoxelCoordsTimeCourseOfVTC) \
    X_OTHER(zvGetVoxelCoordsTimeCourseOfVTCs) \
    X_OTHER(zvGetGLMOfCurrentVMR) \
    X_OTHER(zvGetGLMContrastsOfCurrentVMR) \
    X_OTHER(zvLoadMaskToCurrentVMR) \
    X_OTHER(zvGetMaskOfCurrentVMR) \
    X_OTHER(zvGetScene) \
    X_OTHER(zvLoadSRF) \
    X_OTHER(zvAddSRF) \
    X_OTHER(zvRemoveCurrentSRF) \
    X_OTHER(zvGetCurrentSRF) \
    X_OTHER(zvReleaseSRFAccess) \
    X_OTHER(zvSaveCurrentSRF) \
    X_OTHER(zvSetCurrentSRF) \
    X_OTHER(zvGetSMPsOfCurrentSRF) \
    X_OTHER(zvGetSMPOfCurrentSRF) \
    X_OTHER(zvSetSMPParametersOfCurrentSRF) \
    X_OTHER(zvLoadSMPsToCurrentSRF) \
    X_OTHER(zvSaveSMPsOfCurrentSRF) \
    X_OTHER(zvCreateSMPForCurrentSRF) \
    X_OTHER(zvDeleteSMPsOfCurrentSRF) \
    X_OTHER(zvOverlaySMPsOnSRF) \
    X_OTHER(zvLinkMTCToCurrentSRF) \
    X_OTHER(zvCreateMTCForCurrentSRF) \
    X_OTHER(zvGetMTCOfCurrentSRF) \
    X_OTHER(zvSetMTCParametersOfCurrentSRF) \
    X_OTHER(zvSaveMTCOfCurrentSRF) \
    X_OTHER(zvClearMultiMTCRefsOfCurrentSRF) \
    X_OTHER(zvAddMultiMTCRefToCurrentSRF) \
    X_OTHER(zvGetVertexTimeCourseOfMTC) \
    X_OTHER(zvGetVertexTimeCourseOfAllMTCs) \
    X_OTHER(zvGetSSMOfCurrentSRF) \
    X_OTHER(zvLoadSSMToCurrentSRF) \
    X_OTHER(zvSaveSSMOfCurrentSRF) \
    X_OTHER(zvCreateSSMForCurrentSRF) \
    X_OTHER(zvDeleteSSMOfCurrentSRF) \
    X_OTHER(zvClearProtocol) \
    X_OTHER(zvLoadProtocol) \
    X_OTHER(zvSaveProtocol) \
    X_OTHER(zvGetProtocol) \
    X_OTHER(zvSetProtocol) \
    X_OTHER(zvGetProtocolCondition) \
    X_OTHER(zvAddProtocolCondition) \
    X_OTHER(zvAddProtocolConditionInterval) \
    X_OTHER(zvClearDesignMatrix) \
    X_OTHER(zvAddPredictor) \
    X_OTHER(zvSetPredictorValuesFromCondition) \
    X_OTHER(zvSetPredictorValuesFromConditionName) \
    X_OTHER(zvApplyTwoGammaHRFToPredictor) \
    X_OTHER(zvApplyTwoGammaHRFToPredictorWithName) \
    X_OTHER(zvApplyBoyntonHRFToPredictor) \
    X_OTHER(zvApplyBoyntonHRFToPredictorWithName) \
    X_OTHER(zvGetPredictor) \
    X_OTHER(zvGetPredictorByName) \
    X_OTHER(zvLoadSingleStudyGLMDesignMatrix) \
    X_OTHER(zvSaveSingleStudyGLMDesignMatrix) \
    X_OTHER(zvLoadVOIs) \
    X_OTHER(zvSaveVOIs) \
    X_OTHER(zvGetVOIs) \
    X_OTHER(zvGetVOI) \
    X_OTHER(zvLoadPOIs) \
    X_OTHER(zvSavePOIs) \
    X_OTHER(zvGetPOIs) \
    X_OTHER(zvGetPOI) \
    X_CALLED(zvGetStringParameter, bool(const char* name, char* buffer)) \
    X_CALLED(zvGetIntParameter, int(const char* name)) \
    X_OTHER(zvGetFloatParameter) \
    X_CALLED(zvSetStringParameter, bool(const char* name, const char* text)) \
    X_OTHER(zvSetIntParameter) \
    X_OTHER(zvSetFloatParameter) \
    X_OTHER(zvGetDlgStringParameter) \
    X_OTHER(zvGetDlgIntegerParameter) \
    X_OTHER(zvGetDlgFloatParameter) \
    X_OTHER(zvSetDlgStringOutputParameter) \
    X_OTHER(zvSetDlgIntegerOutputParameter) \
    X_OTHER(zvSetDlgFloatOutputParameter) \
    X_OTHER(zvLaunchICADialog)
#define TANDREL_DECLARE_CALLED(name, signature) std::add_pointer_t<signature> name = nullptr;
#define TANDREL_DECLARE_OTHER(name) UntypedHostFunction name = nullptr;

struct HostApiTable {
    TANDREL_HOST_FUNCTIONS(TANDREL_DECLARE_CALLED, TANDREL_DECLARE_OTHER)
};

#undef TANDREL_DECLARE_CALLED
#undef TANDREL_DECLARE_OTHER

inline constexpr int kHostFunctionCount = 190;
static_assert(sizeof(HostApiTable) == kHostFunctionCount * sizeof(UntypedHostFunction));

// The process-wide table, shared by every plug-in object; all entries start null and live until
// the library is unloaded.
extern HostApiTable hostApi;

}  // namespace plugin
