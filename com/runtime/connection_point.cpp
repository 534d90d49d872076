#include "com/runtime/connection_point.h"

#include "com/runtime/snapshot_enumerator.h"

namespace qlxw::com {
namespace {

CONNECTDATA GiveConnection(const std::pair<DWORD, ComPtr<IDispatch>>& sink) {
  sink.second->AddRef();
  return CONNECTDATA{sink.second.get(), sink.first};
}

IConnectionPoint* GivePoint(const ComPtr<IConnectionPoint>& point) {
  point->AddRef();
  return point.get();
}

using ConnectionsEnumerator =
    SnapshotEnumerator<IEnumConnections, CONNECTDATA, std::pair<DWORD, ComPtr<IDispatch>>, GiveConnection>;
using PointsEnumerator =
    SnapshotEnumerator<IEnumConnectionPoints, IConnectionPoint*, ComPtr<IConnectionPoint>, GivePoint>;

}  // namespace

void ConnectionPoint::Fire(DISPID id, std::vector<VARIANT>& arguments) const {
  // A listener may disconnect, or raise another event, while it is called: call a copy of the list.
  const auto sinks = sinks_;
  std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());  // DISPPARAMS holds them last first
  DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  for (const auto& sink : sinks) {
    sink.second->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr, nullptr,
                        nullptr);
  }
}

HRESULT ConnectionPoint::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) {
    return E_POINTER;
  }
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (iid == nullptr) {
    return E_POINTER;
  }
  *iid = events_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (container == nullptr) {
    return E_POINTER;
  }
  owner_->AddRef();
  *container = owner_;
  return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (sink == nullptr || cookie == nullptr) {
    return E_POINTER;
  }
  *cookie = 0;
  ComPtr<IDispatch> listener;
  if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(listener.put()))) &&
      FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(listener.put())))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  try {
    sinks_.emplace_back(nextCookie_, listener);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  *cookie = nextCookie_++;
  return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
  for (auto at = sinks_.begin(); at != sinks_.end(); ++at) {
    if (at->first == cookie) {
      sinks_.erase(at);
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** connections) {
  try {
    return ConnectionsEnumerator::Start(sinks_, connections);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT EnumerateConnectionPoints(const std::vector<IConnectionPoint*>& points, IEnumConnectionPoints** out) {
  try {
    PointsEnumerator::Items held;
    for (IConnectionPoint* point : points) {
      held.emplace_back(point);
    }
    return PointsEnumerator::Start(std::move(held), out);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace qlxw::com
