; wrenfold_namco: plays "Fold and Turn" on four Namco 106 wavetable channels (mapper 19): the
; melody on a sine wave, the arpeggio on a narrow pulse, the bass on a triangle and the pad on
; the sine again, with a screen naming them.
.include "nes.inc"
.include "runtime.inc"
.include "sound.inc"

TUNE_VOICES = 4
.include "tune_sequencer.inc"
.include "expansion_tune.inc"

CART_ID_NAMCO = $04

; Namco 106 registers.
N106_CHR_SLOTS   = $8000            ; $8000, $8800 ... $B800: 1 KB pattern banks
N106_NT_SLOTS    = $C000            ; $C000, $C800, $D000, $D800: name-table pages ($E0/$E1)
N106_PRG_8000    = $E000            ; bit 6 set would switch the sound off
N106_PRG_A000    = $E800
N106_PRG_C000    = $F000
N106_IRQ_HIGH    = $5800
N106_SOUND_ADDR  = $F800            ; sound memory address; bit 7 steps it after each write
N106_SOUND_DATA  = $4800
N106_AUTO_STEP   = $80

; Sound memory: the registers of channel 7 at $78, 6 at $70 and so on; with four channels
; only $60-$7F hold registers and the waves lie below. Per channel: +0 frequency low, +2
; frequency middle, +4 wave length and frequency high, +6 wave address in 4-bit samples, +7
; volume (channel 7 also holds the channel count - 1 in bits 4-6).
SOUND_MEMORY_SIZE = $80
CHANNEL_COUNT_4   = $30
LENGTH_32_SAMPLES = $E0             ; (64 - 32 / 4) in bits 2-7
LENGTH_16_SAMPLES = $F0             ; (64 - 16 / 4)

.segment "CODE"

.proc main
    jsr set_up_board
    jsr load_sound_memory
    jsr draw_screen
    lda #CART_ID_NAMCO
    jsr write_result_header
    lda #PHASE_TITLE
    jsr set_result_phase
    jsr tune_init
@frame:
    jsr wait_frame
    jsr tune_update
    jmp @frame
.endproc

; The banks as the image lies (8 KB banks 0 and 1 below the fixed last one, pattern banks 0-7,
; the console's two name-table pages side by side), sound on, no IRQ.
.proc set_up_board
    lda #0
    sta N106_PRG_8000
    sta N106_IRQ_HIGH
    lda #1
    sta N106_PRG_A000
    sta N106_PRG_C000
.repeat 8, slot
    lda #slot
    sta N106_CHR_SLOTS + slot * $800
.endrepeat
.repeat 4, slot
    lda #$E0 | (slot & 1)
    sta N106_NT_SLOTS + slot * $800
.endrepeat
    rts
.endproc

; Writes the whole sound memory: the waves, every channel silent.
.proc load_sound_memory
    lda #N106_AUTO_STEP
    sta N106_SOUND_ADDR
    ldx #0
@byte:
    lda sound_memory_image, x
    sta N106_SOUND_DATA
    inx
    cpx #SOUND_MEMORY_SIZE
    bne @byte
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

; X = voice (0 melody, 1 arpeggio, 2 bass, 3 pad): writes its note and level. A rest only
; turns the volume down.
.proc voice_output
    lda voice_channel_base, x
    sta temp0
    ldy tune_note, x
    cpy #REST
    beq @volume
    lda voice_wave_length, x
    cmp #LENGTH_32_SAMPLES
    bne @short_wave
    lda namco_freq32_lo, y
    sta temp1
    lda namco_freq32_mid, y
    sta temp2
    lda namco_freq32_hi, y
    jmp @write_frequency
@short_wave:
    lda namco_freq16_lo, y
    sta temp1
    lda namco_freq16_mid, y
    sta temp2
    lda namco_freq16_hi, y
@write_frequency:
    ora voice_wave_length, x
    sta temp3
    ldy temp0
    sty N106_SOUND_ADDR
    lda temp1
    sta N106_SOUND_DATA
    iny
    iny
    sty N106_SOUND_ADDR
    lda temp2
    sta N106_SOUND_DATA
    iny
    iny
    sty N106_SOUND_ADDR
    lda temp3
    sta N106_SOUND_DATA
    iny
    iny
    sty N106_SOUND_ADDR
    lda voice_wave_address, x
    sta N106_SOUND_DATA
@volume:
    lda temp0
    clc
    adc #7
    sta N106_SOUND_ADDR
    lda tune_level, x
    ora voice_volume_bits, x
    sta N106_SOUND_DATA
    rts
.endproc

.segment "RODATA"

tune_streams:
    .addr tune_melody, tune_arpeggio, tune_bass, tune_pad
tune_attack:
    .byte 12, 7, 15, 6
tune_sustain:
    .byte 8, 4, 11, 4
voice_channel_base:
    .byte $78, $70, $68, $60
voice_volume_bits:
    .byte CHANNEL_COUNT_4, 0, 0, 0
voice_wave_length:
    .byte LENGTH_32_SAMPLES, LENGTH_16_SAMPLES, LENGTH_16_SAMPLES, LENGTH_32_SAMPLES
; Wave addresses in 4-bit samples. Each sample is stored in both halves of its byte, so a
; wave reads the same whether the chip takes it nibble by nibble or byte by byte; the pulse and
; the triangle are also stored at the byte address equal to their sample address ($20, $30),
; where a byte-wise reader of the address register finds them.
WAVE_SINE     = $00
WAVE_TRIANGLE = $20
WAVE_PULSE    = $30
voice_wave_address:
    .byte WAVE_SINE, WAVE_PULSE, WAVE_TRIANGLE, WAVE_SINE

.define DOUBLED(n) ((n) * $11)
.macro WAVE_TRIANGLE_BYTES
    .byte DOUBLED(0), DOUBLED(4), DOUBLED(8), DOUBLED(12), DOUBLED(15), DOUBLED(12), DOUBLED(8), DOUBLED(4)
.endmacro
.macro WAVE_PULSE_BYTES
    .byte DOUBLED(15), DOUBLED(15), DOUBLED(0), DOUBLED(0), DOUBLED(0), DOUBLED(0), DOUBLED(0), DOUBLED(0)
.endmacro

sound_memory_image:
    .byte DOUBLED(8), DOUBLED(11), DOUBLED(13), DOUBLED(14), DOUBLED(15), DOUBLED(14), DOUBLED(13), DOUBLED(11)
    .byte DOUBLED(8), DOUBLED(5), DOUBLED(3), DOUBLED(2), DOUBLED(1), DOUBLED(2), DOUBLED(3), DOUBLED(5)
    WAVE_TRIANGLE_BYTES             ; $10: sample address $20
    WAVE_PULSE_BYTES                ; $18: sample address $30
    WAVE_TRIANGLE_BYTES             ; $20
    .res 8, 0
    WAVE_PULSE_BYTES                ; $30
    .res SOUND_MEMORY_SIZE - $38, 0 ; the channel registers: all silent
.assert * - sound_memory_image = SOUND_MEMORY_SIZE, error, "sound memory image size"

screen_text:
    TEXT_AT 6, 7, "WRENFOLD NAMCO 106"
    TEXT_AT 9, 5, "FOLD AND TURN ON FOUR"
    TEXT_AT 10, 5, "WAVETABLE CHANNELS"
    TEXT_AT 14, 5, "SINE      MELODY"
    TEXT_AT 16, 5, "PULSE     ARPEGGIO"
    TEXT_AT 18, 5, "TRIANGLE  BASS"
    TEXT_AT 20, 5, "SINE      PAD"
    .byte 0

; Palette of each band of two tile rows: the title in band 3.
attribute_bands:
    .byte 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0

screen_palette:
    .byte $0F, $0F, $00, $30        ; text: background, shadow, letters
    .byte $0F, $0F, $02, $3C        ; title
    .byte $0F, $0F, $00, $30
    .byte $0F, $0F, $00, $30
    .byte $0F, $0F, $00, $30
    .byte $0F, $0F, $00, $30
    .byte $0F, $0F, $00, $30
    .byte $0F, $0F, $00, $30

; 18-bit frequencies for the notes C2-B6 with four channels playing (f = F x CPU clock /
; (15 x 65536 x 4 x wave samples)), equal temperament with A4 = 440 Hz: for 32-sample and for
; 16-sample waves.
namco_freq32_lo:
    .byte $F6, $08, $29, $5C, $A2, $FA, $67, $EA, $83, $35, $01, $E9   ; C2-B2
    .byte $ED, $10, $53, $B9, $43, $F4, $CE, $D4, $07, $6B, $03, $D1   ; C3-B3
    .byte $D9, $1F, $A6, $72, $86, $E8, $9C, $A7, $0E, $D6, $05, $A2   ; C4-B4
    .byte $B3, $3E, $4C, $E3, $0D, $D1, $39, $4E, $1C, $AC, $0B, $44   ; C5-B5
    .byte $66, $7D, $98, $C7, $19, $A1, $71, $9C, $37, $58, $16, $89   ; C6-B6
namco_freq32_mid:
    .byte $11, $13, $14, $15, $16, $17, $19, $1A, $1C, $1E, $20, $21   ; C2-B2
    .byte $23, $26, $28, $2A, $2D, $2F, $32, $35, $39, $3C, $40, $43   ; C3-B3
    .byte $47, $4C, $50, $55, $5A, $5F, $65, $6B, $72, $78, $80, $87   ; C4-B4
    .byte $8F, $98, $A1, $AA, $B5, $BF, $CB, $D7, $E4, $F1, $00, $0F   ; C5-B5
    .byte $1F, $30, $42, $55, $6A, $7F, $96, $AE, $C8, $E3, $00, $1E   ; C6-B6
namco_freq32_hi:
    .byte $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00   ; C2-B2
    .byte $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00   ; C3-B3
    .byte $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00   ; C4-B4
    .byte $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $01, $01   ; C5-B5
    .byte $01, $01, $01, $01, $01, $01, $01, $01, $01, $01, $02, $02   ; C6-B6
namco_freq16_lo:
    .byte $FB, $84, $15, $AE, $51, $FD, $B4, $75, $42, $1B, $01, $F4   ; C2-B2
    .byte $F6, $08, $29, $5C, $A2, $FA, $67, $EA, $83, $35, $01, $E9   ; C3-B3
    .byte $ED, $10, $53, $B9, $43, $F4, $CE, $D4, $07, $6B, $03, $D1   ; C4-B4
    .byte $D9, $1F, $A6, $72, $86, $E8, $9C, $A7, $0E, $D6, $05, $A2   ; C5-B5
    .byte $B3, $3E, $4C, $E3, $0D, $D1, $39, $4E, $1C, $AC, $0B, $44   ; C6-B6
namco_freq16_mid:
    .byte $08, $09, $0A, $0A, $0B, $0B, $0C, $0D, $0E, $0F, $10, $10   ; C2-B2
    .byte $11, $13, $14, $15, $16, $17, $19, $1A, $1C, $1E, $20, $21   ; C3-B3
    .byte $23, $26, $28, $2A, $2D, $2F, $32, $35, $39, $3C, $40, $43   ; C4-B4
    .byte $47, $4C, $50, $55, $5A, $5F, $65, $6B, $72, $78, $80, $87   ; C5-B5
    .byte $8F, $98, $A1, $AA, $B5, $BF, $CB, $D7, $E4, $F1, $00, $0F   ; C6-B6
namco_freq16_hi:
    .byte $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00   ; C2-B2
    .byte $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00   ; C3-B3
    .byte $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00   ; C4-B4
    .byte $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $00   ; C5-B5
    .byte $00, $00, $00, $00, $00, $00, $00, $00, $00, $00, $01, $01   ; C6-B6
