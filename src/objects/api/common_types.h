#pragma once
// Records and an enum the family's hosts share to describe saved documents, views and raster images.
// The library only publishes them; no operation reads or writes them.
#include <cstdint>
#include <string>
#include <vector>

namespace qlxw {

struct typeSaveDoc {
  std::string sFileName;
  std::int32_t lId = 0;
  bool bIsLocked = false;
};

struct typeSaveDocList {
  std::string sId;
  std::vector<typeSaveDoc> tDocs;
  std::int32_t lCurrentDocIx = 0;
};

struct typeSaveView {
  std::string sName;
  bool bVisible = false;
  double dXc = 0.0;
  double dYc = 0.0;
  double dScale = 0.0;
  double dRotation = 0.0;
  double dPanFactValue = 0.0;
  double dZoomFactValue = 0.0;
  std::int32_t lBackColor = 0;
  std::int32_t lVisibleDocCnt = 0;
  std::vector<std::int32_t> lVisibleDocIds;
  std::int32_t lVisibleImgCnt = 0;
  std::vector<std::int32_t> lVisibleImgIds;
  std::int32_t lWinSate = 0;  // the published spelling
  std::int32_t lWinTop = 0;
  std::int32_t lWinBottom = 0;
  std::int32_t lWinLeft = 0;
  std::int32_t lWinRight = 0;
};

struct typeSaveViewList {
  std::string sId;
  std::vector<typeSaveView> tViews;
  std::int32_t lCurrIx = 0;
};

struct typeSaveImg {
  std::string sFileName;
  std::int32_t lId = 0;
  bool bEnabled = false;
  bool bLoaded = false;
  std::int32_t lSourceType = 0;
};

struct typeSaveImgList {
  std::string sId;
  bool bEmpty = false;
  std::vector<typeSaveImg> tImgs;
  std::int32_t lCurrentImgIx = 0;
};

enum ContentType : std::int32_t {
  HCT_Default = 0,
  HCT_Tool = 1,
  HCT_Band = 2,
  HCT_Form = 3,
  HCT_Op = 4,
};

// The class that carries the records for the type library; constructing it sets up the string tables.
class clsCommonTypes {
 public:
  clsCommonTypes();
};

}  // namespace qlxw
