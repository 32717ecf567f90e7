#pragma once

#include <QtGlobal>
#include <optional>
#include <utility>
#include <variant>

#include "errormessage.h"

// The one shape of a step that can fail: success, or the ErrorCode of its failure. The helper
// returns it and the caller, who knows the user, shows the message. There is no conversion to
// bool, so a call site says which case it means: `if (!written.ok()) Show(written.failure());`.
class [[nodiscard]] Status {
 public:
  // Success.
  constexpr Status() = default;
  // A failure; implicit, so that a helper can `return ErrorCode::NotAFile;`.
  constexpr Status(ErrorCode failure) : m_failure(failure) {}

  constexpr bool ok() const { return !m_failure.has_value(); }
  // Only for a status that is not ok().
  constexpr ErrorCode failure() const {
    Q_ASSERT(m_failure.has_value());
    return *m_failure;
  }

 private:
  std::optional<ErrorCode> m_failure;
};

// A value, or the ErrorCode of the failure that kept it from being made.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : m_value(std::move(value)) {}
  Result(ErrorCode failure) : m_value(failure) {}

  bool ok() const { return std::holds_alternative<T>(m_value); }
  // Only for a result that is not ok().
  ErrorCode failure() const {
    Q_ASSERT(!ok());
    return std::get<ErrorCode>(m_value);
  }
  Status status() const { return ok() ? Status() : Status(failure()); }

  // Only for a result that is ok().
  T& value() & { return std::get<T>(m_value); }
  const T& value() const& { return std::get<T>(m_value); }
  T&& value() && { return std::get<T>(std::move(m_value)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

 private:
  std::variant<T, ErrorCode> m_value;
};
