// Connection points: how an object delivers its events to the sinks of its hosts.
//
// The object (IConnectionPointContainer) holds one IConnectionPoint per event
// interface. A host asks for the point by the event interface's IID, then Advise
// hands it a sink and returns a cookie; Unadvise with that cookie disconnects it.
// Events are calls to the sink's IDispatch::Invoke with the event's dispatch id.
#pragma once

#include "frame/com/unknown.h"

namespace ze::com {

class IConnectionPoint;

class IConnectionPointContainer : public IUnknown {
 public:
  static constexpr IID kIid{
      0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
  using Base = IUnknown;

  // The connection point of the event interface `iid`; CONNECT_E_NOCONNECTION
  // when the object has no such event interface.
  virtual HRESULT FindConnectionPoint(const IID& iid, IConnectionPoint** out) = 0;

 protected:
  ~IConnectionPointContainer() = default;
};

class IConnectionPoint : public IUnknown {
 public:
  static constexpr IID kIid{
      0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
  using Base = IUnknown;

  virtual HRESULT GetConnectionInterface(IID* out) = 0;
  virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer** out) = 0;
  // Connects `sink`; CONNECT_E_CANNOTCONNECT when it does not implement the event
  // interface. The cookie is never 0.
  virtual HRESULT Advise(IUnknown* sink, DWORD* cookie) = 0;
  // CONNECT_E_NOCONNECTION for a cookie that is not connected.
  virtual HRESULT Unadvise(DWORD cookie) = 0;

 protected:
  ~IConnectionPoint() = default;
};

inline constexpr IID IID_IConnectionPointContainer = IConnectionPointContainer::kIid;
inline constexpr IID IID_IConnectionPoint = IConnectionPoint::kIid;

}  // namespace ze::com
