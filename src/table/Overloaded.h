#pragma once

namespace vellumor::table {

// One visitor of a std::variant made of a lambda for each alternative.
template<class... Ts> struct Overloaded : Ts...
{
    using Ts::operator()...;
};
template<class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace vellumor::table
