// A list in parentheses, walked by the preprocessor: `(a, b, c)` to `F(a), F(b), F(c)`.
//
// A member table line carries a function's parameters as one parenthesised list;
// the vtable entry needs them spelled out one by one, which only the preprocessor
// can do. ZE_PP_EXPAND rescans enough times for lists of up to about 250 entries.
#pragma once

#define ZE_PP_UNPAREN(...) __VA_ARGS__

#define ZE_PP_EXPAND(...) ZE_PP_EXPAND3(ZE_PP_EXPAND3(ZE_PP_EXPAND3(ZE_PP_EXPAND3(__VA_ARGS__))))
#define ZE_PP_EXPAND3(...) ZE_PP_EXPAND2(ZE_PP_EXPAND2(ZE_PP_EXPAND2(ZE_PP_EXPAND2(__VA_ARGS__))))
#define ZE_PP_EXPAND2(...) ZE_PP_EXPAND1(ZE_PP_EXPAND1(ZE_PP_EXPAND1(ZE_PP_EXPAND1(__VA_ARGS__))))
#define ZE_PP_EXPAND1(...) __VA_ARGS__

// F applied to each entry of the parenthesised LIST, the results joined by commas.
#define ZE_PP_FOR_EACH(F, LIST) ZE_PP_FOR_EACH_ARGS(F, ZE_PP_UNPAREN LIST)
#define ZE_PP_FOR_EACH_ARGS(F, ...) ZE_PP_FOR_EACH_I(F, __VA_ARGS__)
#define ZE_PP_FOR_EACH_I(F, ...) __VA_OPT__(ZE_PP_EXPAND(ZE_PP_FOR_EACH_STEP(F, __VA_ARGS__)))
#define ZE_PP_FOR_EACH_STEP(F, first, ...) \
  F(first) __VA_OPT__(, ZE_PP_FOR_EACH_AGAIN ZE_PP_PARENS(F, __VA_ARGS__))
#define ZE_PP_PARENS ()
#define ZE_PP_FOR_EACH_AGAIN() ZE_PP_FOR_EACH_STEP

// The parenthesised LIST with `last` added at its end.
#define ZE_PP_APPEND(LIST, last) (ZE_PP_APPEND_ARGS(last, ZE_PP_UNPAREN LIST))
#define ZE_PP_APPEND_ARGS(last, ...) ZE_PP_APPEND_I(last, __VA_ARGS__)
#define ZE_PP_APPEND_I(last, ...) __VA_ARGS__ __VA_OPT__(, ) last
