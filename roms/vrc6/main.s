; wrenfold_vrc6: plays "Fold and Turn" on the three VRC6 channels (mapper 24): the melody on
; pulse 1, the arpeggio on pulse 2 and the bass on the sawtooth, with a screen naming them.
.include "nes.inc"
.include "runtime.inc"
.include "sound.inc"

TUNE_VOICES = 3
.include "tune_sequencer.inc"
.include "expansion_tune.inc"

CART_ID_VRC6 = $03

; VRC6 registers.
VRC6_PRG_16K     = $8000            ; 16 KB bank at $8000
VRC6_PRG_8K      = $C000            ; 8 KB bank at $C000; the last 8 KB stay at $E000
VRC6_PPU_MODE    = $B003            ; $20: 1 KB pattern banks, vertical mirroring
VRC6_CHR_LOW     = $D000            ; $D000-$D003: 1 KB banks at $0000-$0FFF
VRC6_CHR_HIGH    = $E000            ; $E000-$E003: 1 KB banks at $1000-$1FFF
VRC6_IRQ_CONTROL = $F001
VRC6_FREQ_CTRL   = $9003            ; 0: all channels run at their normal rate
VRC6_PULSE1      = $9000            ; +0 duty and volume, +1 period low, +2 enable and period high
VRC6_PULSE2      = $A000
VRC6_SAW         = $B000            ; +0 accumulator rate, +1 period low, +2 enable and period high
VRC6_ENABLE      = $80

PULSE_DUTY_25 = $30                 ; duty 3: a 25% pulse
PULSE_DUTY_50 = $70                 ; duty 7: a square

.segment "CODE"

.proc main
    jsr set_up_board
    jsr draw_screen
    lda #CART_ID_VRC6
    jsr write_result_header
    lda #PHASE_TITLE
    jsr set_result_phase
    jsr tune_init
@frame:
    jsr wait_frame
    jsr tune_update
    jmp @frame
.endproc

; The banks as the image lies (16 KB bank 0, 8 KB bank 2, pattern banks 0-7), sound on, no IRQ.
.proc set_up_board
    lda #0
    sta VRC6_PRG_16K
    sta VRC6_IRQ_CONTROL
    sta VRC6_FREQ_CTRL
    lda #2
    sta VRC6_PRG_8K
    lda #$20
    sta VRC6_PPU_MODE
    ldx #0
@chr:
    txa
    sta VRC6_CHR_LOW, x
    clc
    adc #4
    sta VRC6_CHR_HIGH, x
    inx
    cpx #4
    bne @chr
    lda #0                          ; every channel off until the tune starts
    sta VRC6_PULSE1 + 2
    sta VRC6_PULSE2 + 2
    sta VRC6_SAW + 2
    rts
.endproc

.proc draw_screen
    lda #CTRL_NMI
    sta ppu_ctrl
    sta PPUCTRL
    lda #$20
    jsr clear_nametables
    lda #<screen_text
    sta ptr0
    lda #>screen_text
    sta ptr0 + 1
    jsr draw_text_list
    lda #<attribute_bands
    sta ptr0
    lda #>attribute_bands
    sta ptr0 + 1
    ldx #>ATTRIBUTES_0
    jsr set_attribute_bands
    lda #<screen_palette
    sta ptr0
    lda #>screen_palette
    sta ptr0 + 1
    jsr load_palette
    lda #MASK_BG | MASK_BG_LEFT
    jmp rendering_on
.endproc

; X = voice (0 pulse 1, 1 pulse 2, 2 sawtooth): writes its note and level.
.proc voice_output
    lda tune_note, x
    cmp #REST
    bne @note
    lda #0
    sta temp2                       ; period 0, and the channel below is switched off
    sta temp3
    beq @write
@note:
    asl
    tay
    cpx #2
    beq @saw_period
    lda vrc6_pulse_periods, y
    sta temp2
    lda vrc6_pulse_periods + 1, y
    jmp @enable
@saw_period:
    lda vrc6_saw_periods, y
    sta temp2
    lda vrc6_saw_periods + 1, y
@enable:
    ora #VRC6_ENABLE
    sta temp3
@write:
    ldy voice_register_page, x      ; $90, $A0 or $B0
    sty ptr1 + 1
    lda #0
    sta ptr1
    cpx #2
    beq @saw_level
    lda tune_level, x
    ora voice_duty, x
    jmp @store
@saw_level:
    lda tune_level, x               ; rate = level x 2.5, at most 37: six steps never wrap
    lsr
    sta temp1
    lda tune_level, x
    asl
    clc
    adc temp1
@store:
    ldy #0
    sta (ptr1), y
    iny
    lda temp2
    sta (ptr1), y
    iny
    lda temp3
    sta (ptr1), y
    rts
.endproc

.segment "RODATA"

tune_streams:
    .addr tune_melody, tune_arpeggio, tune_bass
tune_attack:
    .byte 13, 8, 15
tune_sustain:
    .byte 9, 5, 11
voice_duty:
    .byte PULSE_DUTY_25, PULSE_DUTY_50
voice_register_page:
    .byte >VRC6_PULSE1, >VRC6_PULSE2, >VRC6_SAW

screen_text:
    TEXT_AT 6, 8, "WRENFOLD VRC6"
    TEXT_AT 9, 5, "FOLD AND TURN ON THE"
    TEXT_AT 10, 5, "KONAMI VRC6 CHANNELS"
    TEXT_AT 14, 5, "PULSE 1  MELODY"
    TEXT_AT 16, 5, "PULSE 2  ARPEGGIO"
    TEXT_AT 18, 5, "SAW      BASS"
    .byte 0

; Palette of each band of two tile rows: the title in band 3.
attribute_bands:
    .byte 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0

screen_palette:
    .byte $0F, $0F, $00, $30        ; text: background, shadow, letters
    .byte $0F, $0F, $07, $38        ; title
    .byte $0F, $0F, $00, $30
    .byte $0F, $0F, $00, $30
    .byte $0F, $0F, $00, $30
    .byte $0F, $0F, $00, $30
    .byte $0F, $0F, $00, $30
    .byte $0F, $0F, $00, $30

; Periods for the notes C2-B7 (P = CPU clock / (16 x f) - 1 for the pulses, CPU clock /
; (14 x f) - 1 for the sawtooth), equal temperament with A4 = 440 Hz.
vrc6_pulse_periods:
    .word $06AD, $064D, $05F3, $059D, $054C, $0500, $04B8, $0474   ; C2-G2
    .word $0434, $03F8, $03BF, $0389, $0356, $0326, $02F9, $02CE   ; GS2-DS3
    .word $02A6, $0280, $025C, $023A, $021A, $01FB, $01DF, $01C4   ; E3-B3
    .word $01AB, $0193, $017C, $0167, $0152, $013F, $012D, $011C   ; C4-G4
    .word $010C, $00FD, $00EF, $00E1, $00D5, $00C9, $00BD, $00B3   ; GS4-DS5
    .word $00A9, $009F, $0096, $008E, $0086, $007E, $0077, $0070   ; E5-B5
    .word $006A, $0064, $005E, $0059, $0054, $004F, $004B, $0046   ; C6-G6
    .word $0042, $003F, $003B, $0038, $0034, $0031, $002F, $002C   ; GS6-DS7
    .word $0029, $0027, $0025, $0023, $0021, $001F, $001D, $001B   ; E7-B7
vrc6_saw_periods:
    .word $07A2, $0734, $06CC, $066B, $060E, $05B7, $0565, $0518   ; C2-G2
    .word $04CE, $0489, $0448, $040A, $03D0, $0399, $0366, $0335   ; GS2-DS3
    .word $0307, $02DB, $02B2, $028B, $0267, $0244, $0223, $0205   ; E3-B3
    .word $01E8, $01CC, $01B2, $019A, $0183, $016D, $0159, $0145   ; C4-G4
    .word $0133, $0122, $0111, $0102, $00F3, $00E6, $00D9, $00CC   ; GS4-DS5
    .word $00C1, $00B6, $00AC, $00A2, $0099, $0090, $0088, $0080   ; E5-B5
    .word $0079, $0072, $006C, $0066, $0060, $005B, $0055, $0051   ; C6-G6
    .word $004C, $0048, $0044, $0040, $003C, $0039, $0035, $0032   ; GS6-DS7
    .word $002F, $002D, $002A, $0028, $0025, $0023, $0021, $001F   ; E7-B7
