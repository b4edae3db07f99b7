// Reaching a member that a class keeps to itself, for tests that must see every field of an
// object (the widget template test: the widgets offer getters only for what callers use).
// Explicit instantiation may name private members; the instantiation stores the member pointer
// before main runs. Tests read with it; they write only to set up a state that no operation
// reaches (a table rectangle without a dealt table, a power the card manager carries out at once).
//
//     GUITEST_PRIVATE_FIELD(SliderStep, Orvex::GUISlider, float, step_);
//     float step = slider.*guitest::memberOf(SliderStep{});
#pragma once

namespace guitest {

template <class Tag>
struct PrivateFieldPointer {
    static inline typename Tag::type pointer{};
};

template <class Tag, typename Tag::type Member>
struct PrivateField {
    static inline bool const stored = (PrivateFieldPointer<Tag>::pointer = Member, true);
};

template <class Tag>
typename Tag::type memberOf(Tag) {
    return PrivateFieldPointer<Tag>::pointer;
}

}  // namespace guitest

// Declares the tag `Tag` for the member `member` (of type Type) of Class, at namespace scope.
#define GUITEST_PRIVATE_FIELD(Tag, Class, Type, member) \
    struct Tag {                                         \
        using field = Type;                              \
        using type = field Class::*;                     \
    };                                                   \
    template struct guitest::PrivateField<Tag, &Class::member>
