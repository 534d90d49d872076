#pragma once
// Outgoing events: one connection point per event interface, kept inside the object that raises the
// events (its references count as the object's), and the container hosts find it through.
#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <utility>
#include <vector>

#include "com/runtime/com_object.h"

namespace qlxw::com {

class ConnectionPoint final : public IConnectionPoint {
 public:
  ConnectionPoint(IConnectionPointContainer* owner, const IID& events) noexcept
      : owner_(owner), events_(events) {}
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;
  ~ConnectionPoint() = default;

  const IID& Events() const noexcept { return events_; }

  // Calls every listener, in the order they connected; a listener that fails does not stop the others.
  // `arguments` are in the order of the event's parameters.
  void Fire(DISPID id, std::vector<VARIANT>& arguments) const;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_->Release(); }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

 private:
  IConnectionPointContainer* owner_;
  IID events_;
  std::vector<std::pair<DWORD, ComPtr<IDispatch>>> sinks_;
  DWORD nextCookie_ = 1;
};

// The points of a container, for IConnectionPointContainer::EnumConnectionPoints.
HRESULT EnumerateConnectionPoints(const std::vector<IConnectionPoint*>& points, IEnumConnectionPoints** out);

// The container of a class that raises one event interface. `Events` is that interface's IID.
template <const IID* Events>
class EventSource : public IConnectionPointContainer {
 public:
  using Implemented = IConnectionPointContainer;
  EventSource() noexcept : events_(this, *Events) {}

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override {
    return EnumerateConnectionPoints({&events_}, points);
  }

  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    if (point == nullptr) {
      return E_POINTER;
    }
    *point = nullptr;
    if (!IsEqualIID(iid, *Events)) {
      return CONNECT_E_NOCONNECTION;
    }
    events_.AddRef();
    *point = &events_;
    return S_OK;
  }

 protected:
  ConnectionPoint& Events_() noexcept { return events_; }

 private:
  ConnectionPoint events_;
};

}  // namespace qlxw::com
