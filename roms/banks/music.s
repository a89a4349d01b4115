; "Bank Walk", the tune of wrenfold_banks (A minor, about 128 beats a minute, 8 bars), and its
; two sound effects.
.include "nes.inc"
.include "sound.inc"
.include "banks.inc"

; Lengths in frames: an eighth note is 14 frames.
N8  = LEN(14)
N4  = LEN(28)
N4D = LEN(42)
N2  = LEN(56)
N2D = LEN(84)

.macro BASS_BAR root, fifth
    .byte root, fifth, root, fifth
.endmacro

.macro BEAT
    .byte DRUM_KICK, DRUM_HAT, DRUM_SNARE, DRUM_HAT, DRUM_KICK, DRUM_HAT, DRUM_SNARE, DRUM_OPEN
.endmacro

.segment "RODATA"

song_banks:
    .addr walk_lead, walk_pad, walk_bass, walk_drums

walk_lead:
    .byte INSTR, I_PLUCK
@loop:
    .byte N4, A4, N8, C5, E5, N4, A5, G5                       ; Am
    .byte N4D, F5, N8, E5, N4, C5, A4                          ; F
    .byte N8, G4, C5, E5, G5, N2, E5                           ; C
    .byte N4, D5, N8, B4, D5, N2, G5                           ; G
    .byte N8, A5, G5, E5, C5, N4, A4, E5                       ; Am
    .byte N8, F5, E5, C5, A4, N4, F4, C5                       ; F
    .byte N4, B4, N8, GS4, B4, N2, E5                          ; E
    .byte N2D, A4, N4, REST                                    ; Am
    .byte JUMP
    .addr @loop

walk_pad:
    .byte INSTR, I_PAD, N2
@loop:
    .byte C5, E5, A4, C5, G4, E5, B4, D5
    .byte C5, E5, C5, A4, GS4, B4, A4, E4
    .byte JUMP
    .addr @loop

walk_bass:
    .byte INSTR, I_TRI_SHORT, N4
@loop:
    BASS_BAR A3, E4
    BASS_BAR F3, C4
    BASS_BAR C3, G3
    BASS_BAR G3, D4
    BASS_BAR A3, E4
    BASS_BAR F3, C4
    BASS_BAR E3, B3
    .byte INSTR, I_TRI, N2, A3, INSTR, I_TRI_SHORT, N4, E3, E3
    .byte JUMP
    .addr @loop

walk_drums:
    .byte N8
@loop:
    .repeat 7
        BEAT
    .endrepeat
    .byte DRUM_KICK, DRUM_HAT, DRUM_SNARE, DRUM_SNARE, DRUM_KICK, DRUM_SNARE, DRUM_SNARE, DRUM_CRASH
    .byte JUMP
    .addr @loop

sfx_page:
    .byte INSTR, I_BLIP, LEN(3), E5, LEN(6), A5, END
sfx_action:
    .byte INSTR, I_BELL, LEN(4), A5, LEN(10), E6, END
