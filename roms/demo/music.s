; "Meadow Run", the tune of wrenfold_demo (G major, 150 beats a minute, 16 bars), and the
; sound effects of the game.
.include "nes.inc"
.include "sound.inc"
.include "demo.inc"

; Lengths in frames: an eighth note is 12 frames.
N8  = LEN(12)
N4  = LEN(24)
N4D = LEN(36)
N2  = LEN(48)
N2D = LEN(72)

; Pulse 2 arpeggios over one bar: chord tones in eighths.
.macro ARPEGGIO low, mid, high
    .byte low, mid, high, mid, low, mid, high, mid
.endmacro
.macro HALF_ARPEGGIO low, mid, high
    .byte low, mid, high, mid
.endmacro

; Triangle bass over one bar: root, fifth, octave, fifth (the triangle sounds an octave lower).
.macro BASS root, fifth, octave
    .byte root, fifth, octave, fifth
.endmacro

.macro DRUM_BAR
    .byte DRUM_KICK, DRUM_HAT, DRUM_SNARE, DRUM_HAT, DRUM_KICK, DRUM_KICK, DRUM_SNARE, DRUM_HAT
.endmacro
.macro DRUM_FILL
    .byte DRUM_KICK, DRUM_HAT, DRUM_SNARE, DRUM_HAT, DRUM_SNARE, DRUM_SNARE, DRUM_SNARE, DRUM_OPEN
.endmacro

.segment "RODATA"

song_meadow:
    .addr meadow_lead, meadow_harmony, meadow_bass, meadow_drums

meadow_lead:
    .byte INSTR, I_LEAD
@loop:
    .byte N8, D5, B4, N4, G4, N8, B4, D5, N4, G5               ; G
    .byte N4D, E5, N8, D5, N4, B4, G4                          ; Em
    .byte N8, C5, E5, N4, G5, N8, E5, C5, N4, E5               ; C
    .byte N4D, D5, N8, C5, N4, B4, A4                          ; D
    .byte N8, D5, B4, N4, G4, N8, B4, D5, N4, G5               ; G
    .byte N4D, A5, N8, G5, N4, E5, B4                          ; Em
    .byte N4, C5, E5, N8, D5, FS5, N4, A5                      ; C D
    .byte N2D, G5, N4, REST                                    ; G
    .byte N8, E5, E5, E5, D5, N4, C5, G4                       ; C
    .byte N8, D5, D5, D5, C5, N4, B4, G4                       ; G
    .byte N8, C5, B4, A4, B4, N4, C5, E5                       ; Am
    .byte N2, D5, N4, FS5, A5                                  ; D
    .byte N8, G5, FS5, E5, D5, N4, C5, E5                      ; C
    .byte N8, D5, C5, B4, A4, N4, G4, B4                       ; G
    .byte N8, A4, C5, N4, E5, N8, D5, C5, N4, A4               ; Am D
    .byte N2D, G4, N4, REST                                    ; G
    .byte JUMP
    .addr @loop

meadow_harmony:
    .byte INSTR, I_SOFT, N8
@loop:
    ARPEGGIO G4, B4, D5
    ARPEGGIO G4, B4, E5
    ARPEGGIO G4, C5, E5
    ARPEGGIO FS4, A4, D5
    ARPEGGIO G4, B4, D5
    ARPEGGIO G4, B4, E5
    HALF_ARPEGGIO G4, C5, E5
    HALF_ARPEGGIO FS4, A4, D5
    ARPEGGIO G4, B4, D5
    ARPEGGIO G4, C5, E5
    ARPEGGIO G4, B4, D5
    ARPEGGIO A4, C5, E5
    ARPEGGIO FS4, A4, D5
    ARPEGGIO G4, C5, E5
    ARPEGGIO G4, B4, D5
    HALF_ARPEGGIO A4, C5, E5
    HALF_ARPEGGIO FS4, A4, D5
    ARPEGGIO G4, B4, D5
    .byte JUMP
    .addr @loop

meadow_bass:
    .byte INSTR, I_TRI_SHORT, N4
@loop:
    BASS G3, D4, G4
    BASS E3, B3, E4
    BASS C3, G3, C4
    BASS D3, A3, D4
    BASS G3, D4, G4
    BASS E3, B3, E4
    .byte C3, G3, D3, A3
    BASS G3, D4, G4
    BASS C3, G3, C4
    BASS G3, D4, G4
    BASS A3, E4, A4
    BASS D3, A3, D4
    BASS C3, G3, C4
    BASS G3, D4, G4
    .byte A3, E4, D3, A3
    .byte INSTR, I_TRI, N2, G3, INSTR, I_TRI_SHORT, N4, D3, D3
    .byte JUMP
    .addr @loop

meadow_drums:
    .byte N8
@loop:
    .repeat 7
        DRUM_BAR
    .endrepeat
    DRUM_FILL
    .repeat 7
        DRUM_BAR
    .endrepeat
    DRUM_FILL
    .byte JUMP
    .addr @loop

; ---- Effects ----------------------------------------------------------------------------------
sfx_jump:
    .byte INSTR, I_BLIP, LEN(2), C5, E5, G5, C6, LEN(4), E6, END
sfx_seed:
    .byte LEN(8), DRUM_ZAP, END
sfx_berry:
    .byte INSTR, I_BELL, LEN(4), E6, LEN(14), B6, END
sfx_stomp:
    .byte LEN(14), DRUM_STOMP, END
sfx_hurt:
    .byte INSTR, I_BLIP, LEN(4), G4, DS4, C4, LEN(8), G3, END
sfx_start:
    .byte INSTR, I_BELL, LEN(5), C5, E5, G5, LEN(20), C6, END
sfx_over:
    .byte INSTR, I_LEAD, LEN(12), G4, FS4, F4, LEN(36), E4, END
