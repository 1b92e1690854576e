#pragma once

#include <QString>

#include <concepts>
#include <functional>
#include <type_traits>
#include <utility>

namespace orvane {

// What a status notice tells: how something went (the toast shows a check mark), or that something
// went wrong and needs the user's eye (a warning sign).
enum class NoticeKind { info, warning };

class NoticeSink;

// A callable of a notice's text and kind, or of its text alone.
template <typename F>
concept NoticeWithKind
    = !std::same_as<std::remove_cvref_t<F>, NoticeSink> && std::invocable<F &, const QString &, NoticeKind>;
template <typename F>
concept NoticeText
    = !std::same_as<std::remove_cvref_t<F>, NoticeSink> && std::invocable<F &, const QString &> && !NoticeWithKind<F>;

// Where a store sends what it tells the user: a callable of the text and kind, or of the text alone
// (every notice is then an info).
class NoticeSink final {
public:
    NoticeSink() = default;
    template <NoticeWithKind F> NoticeSink(F send) : m_send(std::move(send)) { }
    template <NoticeText F>
    NoticeSink(F send) : m_send([send = std::move(send)](const QString &text, NoticeKind) mutable { send(text); })
    {
    }

    void operator()(const QString &text, NoticeKind kind = NoticeKind::info) const
    {
        if (m_send)
            m_send(text, kind);
    }
    explicit operator bool() const { return static_cast<bool>(m_send); }

private:
    std::function<void(const QString &, NoticeKind)> m_send;
};

} // namespace orvane
